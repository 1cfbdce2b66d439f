#include "CsvExport.h"

namespace morvik::cli {

namespace {

constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";
constexpr const char* kLineEnd = "\r\n";

void appendLabelled(std::string& document, const LabelledCells& cells) {
    for (const auto& [label, cell] : cells) {
        appendCsvField(document, label);
        document += ',';
        appendCsvField(document, cell.text);
        document += kLineEnd;
    }
}

} // namespace

void appendCsvField(std::string& line, const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        line += field;
        return;
    }
    line += '"';
    for (char c : field) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

std::string csvDocument(const ExportContent& content) {
    std::string document = kByteOrderMark;
    appendLabelled(document, projectCells(content.project));
    document += kLineEnd;

    const std::vector<std::string>& headings = memberHeadings();
    for (std::size_t i = 0; i < headings.size(); ++i) {
        if (i > 0)
            document += ',';
        appendCsvField(document, headings[i]);
    }
    document += kLineEnd;
    std::vector<Cell> cells;
    for (const auto& [rowNumber, member] : content.members) {
        memberRow(rowNumber, *member, cells);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0)
                document += ',';
            appendCsvField(document, cells[i].text);
        }
        document += kLineEnd;
    }

    if (content.batch) {
        document += kLineEnd;
        appendLabelled(document, batchCells(*content.batch));
    }
    return document;
}

} // namespace morvik::cli
