// morvik-cli show FILE: the whole data set as JSON, with the results recomputed on
// reading and the texts the program would show for them.

#include "Arguments.h"
#include "Command.h"
#include "DataSetFields.h"
#include "JsonValues.h"
#include "LoadDataSet.h"
#include "Usage.h"
#include "core/ResultText.h"
#include <cstring>

namespace morvik::cli {

namespace {

// A member's fields and the texts the program shows for its results.
Json shownMemberJson(const ShaJiang_GouJian_Struct& m) {
    const MemberResultTexts texts = memberResultTexts(m);
    Json j = memberJson(m);
    j["shown"] = Json{{"meanDepth", texts.meanDepth},
                      {"strength", texts.strength},
                      {"memberEstimate", texts.memberEstimate}};
    return j;
}

constexpr int kMemberIndent = 4; // members sit two levels deep: document, array

// `json` (the text of dumpJson, ending in a new line) with every line indented by
// `indent` spaces and without its last new line. Strings hold no raw new lines in JSON.
void writeIndented(std::ostream& out, const std::string& json, int indent) {
    const std::string pad(static_cast<std::size_t>(indent), ' ');
    std::size_t start = 0;
    while (start < json.size()) {
        std::size_t end = json.find('\n', start);
        if (end == std::string::npos)
            end = json.size();
        if (start > 0)
            out << '\n';
        out << pad;
        out.write(json.data() + start, static_cast<std::streamsize>(end - start));
        start = end + 1;
    }
}

} // namespace

int runShow(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments parsed;
    if (const auto done = parseCommandLine("show", args, {}, parsed, out, err))
        return *done;

    const auto file = loadDataSetOrReport(parsed.positional[0], err);
    if (!file)
        return kExitFileError;

    // The members are written one at a time: the whole document as one JSON value took
    // seven times the file's size in memory. The text is the same as dumping it whole.
    Json head;
    head["layout"] = file->layout == DataFileLayout::Record ? "record" : "legacy";
    head["project"] = projectJson(file->data.project);
    std::string text = dumpJson(head); // "{ ... }\n": the members go before its end
    text.resize(text.size() - std::strlen("\n}\n"));
    out << text << ",\n  \"members\": [";
    const auto& members = file->data.members;
    for (std::size_t i = 0; i < members.size() && out; ++i) {
        out << (i == 0 ? "\n" : ",\n");
        writeIndented(out, dumpJson(shownMemberJson(members[i])), kMemberIndent);
    }
    out << (members.empty() ? "]\n}\n" : "\n  ]\n}\n");
    return kExitOk;
}

} // namespace morvik::cli
