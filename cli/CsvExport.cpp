#include "CsvExport.h"

#include "core/ResultText.h"
#include "io/LargePages.h"

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

// Numbers never need quoting; texts are checked.
class CsvRow : public RowSink {
public:
    explicit CsvRow(std::string& document) : document_(document) {}
    void start() { first_ = true; }
    void text(const std::string& utf8) override {
        separate();
        appendCsvField(document_, utf8);
    }
    void number(const std::string& shown) override {
        separate();
        if (shown != kNoValueText)
            document_ += shown;
    }

private:
    void separate() {
        if (!first_)
            document_ += ',';
        first_ = false;
    }
    std::string& document_;
    bool first_ = true;
};

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
    // About 300 bytes a member; growing the text step by step would copy it many times.
    constexpr std::size_t kBytesPerMember = 320;
    document.reserve(document.size() + content.members.size() * kBytesPerMember);
    adviseLargePages(document.data(), document.capacity());
    ReadingTexts readings;
    CsvRow row(document);
    for (const auto& [rowNumber, member] : content.members) {
        row.start();
        writeMemberRow(rowNumber, *member, readings, row);
        document += kLineEnd;
    }

    if (content.batch) {
        document += kLineEnd;
        appendLabelled(document, batchCells(*content.batch));
    }
    return document;
}

} // namespace morvik::cli
