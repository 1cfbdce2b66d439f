#pragma once
// What an export holds, cell by cell, before it becomes CSV or XLSX: the project
// information, one row per member and the batch results, each number as the text the
// program shows for it, so both formats carry exactly what the inspector sees.

#include "core/Batch.h"
#include "core/Records.h"
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace morvik::cli {

struct Cell {
    enum class Kind { Empty, Text, Number };
    Kind kind = Kind::Empty;
    // A Text's UTF-8, or a Number as the program shows it ("5.30", "4.6", "18"). Shown
    // texts of no value ("--") become Empty cells.
    std::string text;

    // Digits after the '.' of a Number's text (0 without one).
    int decimals() const;
};

Cell textCell(std::string text);
// `shown` is a shown number or "--", which gives an Empty cell.
Cell shownNumberCell(std::string shown);

// 序号, 构件编号, 检测日期, 备注, then 不平整读数, 贯入仪读数 and 贯入深度 of points
// 1..16, then the three results. Exactly the cells writeMemberRow gives.
const std::vector<std::string>& memberHeadings();

// The texts under which stored readings and depths appear, remembered by bit pattern: a
// data set holds few distinct readings, and formatting each of them again is most of the
// time an export takes. The text is a function of the value alone, so nothing goes stale.
class ReadingTexts {
public:
    // "%.2f" of the rounded value as the reading grid shows it, or "" when it is missing.
    const std::string& text(float value);

private:
    static constexpr int kSlotBits = 16; // 65,536 slots: misses stay rare
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
    struct Slot {
        std::uint32_t bits = 0;
        bool filled = false;
        std::string text;
    };
    std::vector<Slot> slots_ = std::vector<Slot>(kSlots);
};

// Receives the cells of one member row in order; each format writes them its own way.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void text(const std::string& utf8) = 0;
    // A number as shown, or "" / "--" for no value (an empty cell).
    virtual void number(const std::string& shown) = 0;
};

// The cells of the member at 1-based `rowNumber`, in the order of memberHeadings.
void writeMemberRow(int rowNumber, const ShaJiang_GouJian_Struct& member, ReadingTexts& readings,
                    RowSink& sink);

using LabelledCells = std::vector<std::pair<std::string, Cell>>;

// 工程名称 ... 主检 as the program shows them right after opening the file (`project` as
// read; normalised here).
LabelledCells projectCells(ProjectInfo project);

// The five batch fields in the order 平均值, 标准差, 最小值, 变异系数, 推定值, then 提示
// with the batch's message (empty when it has none).
LabelledCells batchCells(const BatchOutcome& outcome);

// The batch the program evaluates when exactly `members` are ticked, right after opening
// a file with `project`.
BatchOutcome exportBatch(const std::vector<const ShaJiang_GouJian_Struct*>& members,
                         const ProjectInfo& project);

// One export: the project, the exported members with their 1-based row numbers in the
// file, in row order, and the batch when it was asked for.
struct ExportContent {
    ProjectInfo project{};
    std::vector<std::pair<int, const ShaJiang_GouJian_Struct*>> members;
    std::optional<BatchOutcome> batch;
};

} // namespace morvik::cli
