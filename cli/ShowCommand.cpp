// morvik-cli show FILE: the whole data set as JSON, with the results recomputed on
// reading and the texts the program would show for them.

#include "Arguments.h"
#include "Command.h"
#include "JsonValues.h"
#include "LoadDataSet.h"
#include "Usage.h"
#include "core/GbkText.h"
#include "core/ResultText.h"

namespace morvik::cli {

namespace {

Json pointValues(const float (&values)[kPointCount]) {
    Json list = Json::array();
    for (float v : values)
        list.push_back(storedNumber(v));
    return list;
}

Json projectJson(const ProjectInfo& p) {
    Json j;
    j["projectName"] = fieldToText(p.projectName);
    j["instrumentNumber"] = fieldToText(p.instrumentNumber);
    j["testTemperature"] = p.testTemperature;
    j["basisIndex"] = p.basisIndex;
    j["reviewer"] = fieldToText(p.reviewer);
    j["chiefInspector"] = fieldToText(p.chiefInspector);
    j["constructionDate"] = fieldToText(p.constructionDate);
    j["mortarCode"] = p.mortarCode; // as stored, not normalised
    j["strengthGrade"] = fieldToText(p.strengthGrade);
    return j;
}

Json memberJson(const ShaJiang_GouJian_Struct& m) {
    const MemberResultTexts texts = memberResultTexts(m);
    Json j;
    j["memberName"] = fieldToText(m.memberName);
    j["testDate"] = fieldToText(m.testDate);
    j["remark"] = fieldToText(m.remark);
    j["unevenness"] = pointValues(m.unevenness);
    j["gaugeReading"] = pointValues(m.gaugeReading);
    j["depth"] = pointValues(m.depth);
    j["meanDepth"] = storedNumber(m.meanDepth);
    j["strength"] = storedNumber(m.strength);
    j["memberEstimate"] = storedNumber(m.memberEstimate);
    j["shown"] = Json{{"meanDepth", texts.meanDepth},
                      {"strength", texts.strength},
                      {"memberEstimate", texts.memberEstimate}};
    return j;
}

} // namespace

int runShow(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments parsed;
    if (const auto done = parseCommandLine("show", args, {}, parsed, out, err))
        return *done;

    const auto file = loadDataSetOrReport(parsed.positional[0], err);
    if (!file)
        return kExitFileError;

    Json members = Json::array();
    for (const ShaJiang_GouJian_Struct& m : file->data.members)
        members.push_back(memberJson(m));
    Json result;
    result["layout"] = file->layout == DataFileLayout::Record ? "record" : "legacy";
    result["project"] = projectJson(file->data.project);
    result["members"] = std::move(members);
    out << dumpJson(result);
    return kExitOk;
}

} // namespace morvik::cli
