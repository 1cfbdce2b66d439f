#include "XlsxExport.h"

#include "core/ResultText.h"
#include "io/AtomicFile.h"
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <vector>
#include <xlsxwriter.h>

namespace morvik::cli {

namespace {

constexpr double kColumnPadding = 2.0;
constexpr double kMinColumnWidth = 8.0;
constexpr char32_t kFirstWideCodePoint = 0x1100; // Hangul Jamo: from here East Asian wide
constexpr int kMaxShownDecimals = 2;
constexpr double kMaxTextColumnWidth = 60.0; // a long remark wraps the view no further
constexpr std::size_t kFirstTextColumn = 1;  // 构件编号, then 检测日期 and 备注
constexpr double kTextWidthScale = 1.2;
constexpr int kScratchAttempts = 16;

// Number formats by the count of decimals shown: "0", "0.0", "0.00".
class Formats {
public:
    explicit Formats(lxw_workbook* book) {
        for (int d = 0; d <= kMaxShownDecimals; ++d) {
            numbers_[d] = workbook_add_format(book);
            const std::string pattern = d == 0 ? "0" : "0." + std::string(d, '0');
            format_set_num_format(numbers_[d], pattern.c_str());
        }
        heading_ = workbook_add_format(book);
        format_set_bold(heading_);
    }
    lxw_format* number(int decimals) const {
        return numbers_[std::clamp(decimals, 0, kMaxShownDecimals)];
    }
    lxw_format* heading() const { return heading_; }

private:
    lxw_format* numbers_[kMaxShownDecimals + 1] = {};
    lxw_format* heading_ = nullptr;
};

// The value of a shown number: parsed from the very text the program shows, so the cell
// holds what the inspector reads, whatever the locale.
double shownValue(const std::string& text) {
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

lxw_error writeCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const Cell& cell,
                    const Formats& formats) {
    switch (cell.kind) {
    case Cell::Kind::Empty:
        return LXW_NO_ERROR;
    case Cell::Kind::Text:
        return cell.text.empty()
                   ? LXW_NO_ERROR
                   : worksheet_write_string(sheet, row, column, cell.text.c_str(), nullptr);
    case Cell::Kind::Number:
        return worksheet_write_number(sheet, row, column, shownValue(cell.text),
                                      formats.number(cell.decimals()));
    }
    return LXW_NO_ERROR;
}

// A sheet of label / value lines, both columns as wide as their longest text.
lxw_error writeLabelled(lxw_worksheet* sheet, const LabelledCells& cells, const Formats& formats) {
    double labelWidth = kMinColumnWidth;
    double valueWidth = kMinColumnWidth;
    for (const auto& [label, cell] : cells) {
        labelWidth = std::max(labelWidth, columnWidthFor(label));
        valueWidth = std::max(valueWidth, columnWidthFor(cell.text));
    }
    worksheet_set_column(sheet, 0, 0, labelWidth, nullptr);
    worksheet_set_column(sheet, 1, 1, valueWidth, nullptr);
    lxw_row_t row = 0;
    for (const auto& [label, cell] : cells) {
        if (lxw_error e = worksheet_write_string(sheet, row, 0, label.c_str(), formats.heading()))
            return e;
        if (lxw_error e = writeCell(sheet, row, 1, cell, formats))
            return e;
        ++row;
    }
    return LXW_NO_ERROR;
}

// Writes one member row cell by cell; the first error stops the rest.
class XlsxRow : public RowSink {
public:
    XlsxRow(lxw_worksheet* sheet, const Formats& formats) : sheet_(sheet), formats_(formats) {}
    void start(lxw_row_t row) {
        row_ = row;
        column_ = 0;
    }
    void text(const std::string& utf8) override { put(textCell(utf8)); }
    void number(const std::string& shown) override {
        if (shown.empty() || shown == kNoValueText) {
            ++column_;
            return;
        }
        put(Cell{Cell::Kind::Number, shown});
    }
    lxw_error error() const { return error_; }

private:
    void put(const Cell& cell) {
        if (!error_)
            error_ = writeCell(sheet_, row_, column_, cell, formats_);
        ++column_;
    }
    lxw_worksheet* sheet_;
    const Formats& formats_;
    lxw_row_t row_ = 0;
    lxw_col_t column_ = 0;
    lxw_error error_ = LXW_NO_ERROR;
};

// The width that shows the longest stored text of a field whole. Stored texts are GBK,
// whose bytes are display units (two for a wide character, one for a narrow one), so no
// conversion is needed to measure them; data fonts run a little wider than the unit.
template <std::size_t N>
double storedTextWidth(const ExportContent& content,
                       const char (ShaJiang_GouJian_Struct::*field)[N]) {
    std::size_t widest = 0;
    for (const auto& entry : content.members)
        widest = std::max(widest, strnlen(entry.second->*field, N));
    return std::min(static_cast<double>(widest) * kTextWidthScale, kMaxTextColumnWidth) +
           kColumnPadding;
}

lxw_error writeMembers(lxw_worksheet* sheet, const ExportContent& content, const Formats& formats) {
    const std::vector<std::string>& headings = memberHeadings();
    // The member number, date and remark columns follow the texts they hold as well.
    const double textWidths[] = {storedTextWidth(content, &ShaJiang_GouJian_Struct::memberName),
                                 storedTextWidth(content, &ShaJiang_GouJian_Struct::testDate),
                                 storedTextWidth(content, &ShaJiang_GouJian_Struct::remark)};
    for (std::size_t c = 0; c < headings.size(); ++c) {
        const auto column = static_cast<lxw_col_t>(c);
        double width = std::max(kMinColumnWidth, columnWidthFor(headings[c]));
        if (c >= kFirstTextColumn && c < kFirstTextColumn + std::size(textWidths))
            width = std::max(width, textWidths[c - kFirstTextColumn]);
        worksheet_set_column(sheet, column, column, width, nullptr);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    for (std::size_t c = 0; c < headings.size(); ++c)
        if (lxw_error e = worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c),
                                                 headings[c].c_str(), formats.heading()))
            return e;
    ReadingTexts readings;
    XlsxRow cells(sheet, formats);
    lxw_row_t row = 1;
    for (const auto& [rowNumber, member] : content.members) {
        cells.start(row++);
        writeMemberRow(rowNumber, *member, readings, cells);
        if (cells.error())
            return cells.error();
    }
    return LXW_NO_ERROR;
}

// A scratch file in the system's temporary folder, made new (never an existing file
// taken over) and removed when this goes.
class ScratchFile {
public:
    ScratchFile() {
        std::error_code ec;
        const std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
        if (ec)
            return;
        std::random_device random;
        for (int attempt = 0; attempt < kScratchAttempts && path_.empty(); ++attempt) {
            const std::string name =
                (dir / ("morvik-export-" + std::to_string(random()) + ".xlsx")).string();
            // "x": fails when the name exists, so no other file or link is written through.
            if (std::FILE* file = std::fopen(name.c_str(), "wbx")) {
                std::fclose(file);
                path_ = name;
            }
        }
    }
    ~ScratchFile() {
        if (!path_.empty())
            std::remove(path_.c_str());
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::optional<std::string> libraryProblem(lxw_error error) {
    return std::string("the spreadsheet library failed: ") + lxw_strerror(error);
}

} // namespace

double columnWidthFor(const std::string& text) {
    double units = 0.0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = lead < 0x80 ? lead : lead & (0xFF >> (length + 1));
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        units += code >= kFirstWideCodePoint ? 2.0 : 1.0;
        i += length;
    }
    return units + kColumnPadding;
}

std::optional<std::string> writeXlsx(const ExportContent& content,
                                     const std::filesystem::path& target) {
    if (content.members.size() >= LXW_ROW_MAX) // one row goes to the headings
        return "a sheet holds at most " + std::to_string(LXW_ROW_MAX - 1) + " members";
    const ScratchFile scratch;
    if (scratch.path().empty())
        return std::string("no temporary file can be made");

    // Rows go out as they are written instead of being held for the whole sheet.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.use_zip64 = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(scratch.path().c_str(), &options);
    if (!book)
        return std::string("no workbook can be made");
    const Formats formats(book);
    lxw_worksheet* members = workbook_add_worksheet(book, kMembersSheet);
    lxw_worksheet* project = workbook_add_worksheet(book, kProjectSheet);
    lxw_worksheet* batch = content.batch ? workbook_add_worksheet(book, kBatchSheet) : nullptr;
    lxw_error error = writeMembers(members, content, formats);
    if (!error)
        error = writeLabelled(project, projectCells(content.project), formats);
    if (!error && batch)
        error = writeLabelled(batch, batchCells(*content.batch), formats);
    // The workbook is closed in every case: that frees it and its temporary files.
    const lxw_error closed = workbook_close(book);
    if (error)
        return libraryProblem(error);
    if (closed)
        return libraryProblem(closed);

    std::error_code ec;
    const auto size = std::filesystem::file_size(scratch.path(), ec);
    std::vector<char> bytes(ec ? 0 : static_cast<std::size_t>(size));
    std::ifstream in(scratch.path(), std::ios::binary);
    if (ec || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        return std::string("the workbook cannot be read back");
    if (replaceFileContents(target, {{bytes.data(), bytes.size()}}) != ReplaceResult::Replaced)
        return std::string("the workbook cannot replace the file");
    return std::nullopt;
}

} // namespace morvik::cli
