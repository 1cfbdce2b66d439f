#include "DataSetJson.h"

#include "JsonValues.h"
#include "core/Evaluation.h"
#include "core/GbkText.h"
#include <cmath>
#include <cstdint>
#include <limits>

namespace morvik::cli {

namespace {

using Problem = std::optional<std::string>;

const Json* member(const Json& object, const char* key) {
    const auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

Problem missing(const std::string& place) {
    return place + ": missing";
}

Problem readText(const Json& object, const char* key, const std::string& owner, char* field,
                 std::size_t width) {
    const std::string place = owner + "." + key;
    const Json* value = member(object, key);
    if (!value)
        return missing(place);
    if (!value->is_string())
        return place + ": not a text";
    switch (textToFieldChecked(value->get_ref<const std::string&>(), field, width)) {
    case FieldTextResult::Stored:
        return std::nullopt;
    case FieldTextResult::TooLong:
        return place + ": longer than the " + std::to_string(width - 1) + " bytes it has in GBK";
    case FieldTextResult::NotEncodable:
        break;
    }
    return place + ": holds a character that cannot be stored in GBK";
}

template <std::size_t N>
Problem readText(const Json& object, const char* key, const std::string& owner, char (&field)[N]) {
    return readText(object, key, owner, field, N);
}

template <typename Integer>
Problem readInteger(const Json& object, const char* key, const std::string& owner, Integer& field) {
    const std::string place = owner + "." + key;
    const Json* value = member(object, key);
    if (!value)
        return missing(place);
    // 18.0 is no whole number to JSON's types; the stored field has no fraction.
    if (!value->is_number_integer())
        return place + ": not a whole number";
    const bool negative = value->is_number_unsigned() ? false : value->get<std::int64_t>() < 0;
    const auto low = static_cast<std::int64_t>(std::numeric_limits<Integer>::min());
    const auto high = static_cast<std::uint64_t>(std::numeric_limits<Integer>::max());
    if (negative ? value->get<std::int64_t>() < low : value->get<std::uint64_t>() > high)
        return place + ": beyond " + std::to_string(low) + " to " + std::to_string(high);
    field = static_cast<Integer>(value->get<std::int64_t>());
    return std::nullopt;
}

Problem readPoints(const Json& object, const char* key, const std::string& owner,
                   float (&points)[kPointCount]) {
    const std::string place = owner + "." + key;
    const Json* value = member(object, key);
    if (!value)
        return missing(place);
    if (!value->is_array() || value->size() != static_cast<std::size_t>(kPointCount))
        return place + ": not an array of " + std::to_string(kPointCount) + " values";
    for (int k = 0; k < kPointCount; ++k) {
        const Json& v = (*value)[static_cast<std::size_t>(k)];
        if (v.is_null()) {
            points[k] = kMissing;
            continue;
        }
        const std::string at = place + "[" + std::to_string(k) + "]";
        if (!v.is_number())
            return at + ": neither a number nor null";
        const double d = v.get<double>();
        if (!(std::fabs(d) <= std::numeric_limits<float>::max()))
            return at + ": beyond the range of a stored value";
        points[k] = static_cast<float>(d);
    }
    return std::nullopt;
}

Problem readProject(const Json& doc, ProjectInfo& p) {
    const Json* project = member(doc, "project");
    if (!project)
        return missing("project");
    if (!project->is_object())
        return std::string("project: not an object");
    const std::string owner = "project";
    for (Problem problem : {
             readText(*project, "projectName", owner, p.projectName),
             readText(*project, "instrumentNumber", owner, p.instrumentNumber),
             readInteger(*project, "testTemperature", owner, p.testTemperature),
             readInteger(*project, "basisIndex", owner, p.basisIndex),
             readText(*project, "reviewer", owner, p.reviewer),
             readText(*project, "chiefInspector", owner, p.chiefInspector),
             readText(*project, "constructionDate", owner, p.constructionDate),
             readInteger(*project, "mortarCode", owner, p.mortarCode),
             readText(*project, "strengthGrade", owner, p.strengthGrade),
         })
        if (problem)
            return problem;
    return std::nullopt;
}

Problem readMember(const Json& value, const std::string& owner, ShaJiang_GouJian_Struct& m) {
    if (!value.is_object())
        return owner + ": not an object";
    if (auto problem = readText(value, "memberName", owner, m.memberName))
        return problem;
    if (auto problem = readText(value, "testDate", owner, m.testDate))
        return problem;
    if (auto problem = readText(value, "remark", owner, m.remark))
        return problem;
    if (auto problem = readPoints(value, "unevenness", owner, m.unevenness))
        return problem;
    if (auto problem = readPoints(value, "gaugeReading", owner, m.gaugeReading))
        return problem;
    return readPoints(value, "depth", owner, m.depth);
}

} // namespace

std::optional<std::string> dataSetFromJson(const std::string& json, DataSet& data) {
    Json doc;
    try {
        doc = Json::parse(json);
    } catch (const Json::parse_error& e) {
        return std::string("not JSON: ") + e.what();
    }
    if (!doc.is_object())
        return std::string("not a JSON object with project and members");
    data = DataSet{};
    if (auto problem = readProject(doc, data.project))
        return problem;
    const Json* members = member(doc, "members");
    if (!members)
        return missing("members");
    if (!members->is_array())
        return std::string("members: not an array");
    if (members->empty())
        return std::string("members: empty; a data set holds at least one member");
    data.members.resize(members->size());
    for (std::size_t i = 0; i < members->size(); ++i) {
        ShaJiang_GouJian_Struct& m = data.members[i];
        m = ShaJiang_GouJian_Struct{};
        if (auto problem = readMember((*members)[i], "members[" + std::to_string(i) + "]", m))
            return problem;
        m.meanDepth = m.strength = m.memberEstimate = kMissing;
        evaluateMember(m, data.project.mortarCode);
    }
    return std::nullopt;
}

} // namespace morvik::cli
