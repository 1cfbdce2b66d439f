// The project and member fields: how a change is stored, what marks the data set changed,
// and how the fields are shown again with their defaults.

#include "core/GbkText.h"
#include "core/ShownProject.h"
#include "core/Vocabulary.h"
#include "session/Columns.h"
#include "session/DateText.h"
#include "session/Session.h"
#include "session/SessionHistory.h"
#include <cstring>

namespace morvik {

namespace {

constexpr long kTemperatureModulus = 0x10000; // 检测温度 keeps the low 16 bits

// A whole number as the temperature field may hold it: optional spaces and sign, at least
// one digit, nothing else. The value comes back reduced to its low 16 bits, so any length
// of digits is safe.
std::optional<std::int16_t> wholeNumber16(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long low = 0;
    bool digits = false;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        low = (low * 10 + (text[i] - '0')) % kTemperatureModulus;
        digits = true;
        ++i;
    }
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (!digits || i != text.size())
        return std::nullopt;
    if (negative)
        low = (kTemperatureModulus - low) % kTemperatureModulus;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(low));
}

void storeDate(char* field, const CivilDate& date) {
    std::memset(field, 0, kDateFieldWidth);
    textToField(dateText(date), field, kDateFieldWidth);
}

// The date a picker shows for a stored text; nothing when the text is not a date.
std::optional<CivilDate> shownDate(const char* field) {
    return parseDateText(fieldToText(field, kDateFieldWidth));
}

} // namespace

void Session::onProjectTextChanged(ProjectText field, const std::string& text) {
    const FieldEditStep step(*this);
    switch (field) {
    case ProjectText::ProjectName:
        textToField(text, project_.projectName);
        break;
    case ProjectText::InstrumentNumber:
        textToField(text, project_.instrumentNumber);
        break;
    case ProjectText::Reviewer:
        textToField(text, project_.reviewer);
        break;
    case ProjectText::ChiefInspector:
        textToField(text, project_.chiefInspector);
        break;
    case ProjectText::StrengthGrade:
        textToField(text, project_.strengthGrade);
        break;
    }
}

void Session::onTemperatureChanged(const std::string& text) {
    const FieldEditStep step(*this);
    const std::optional<std::int16_t> value = wholeNumber16(text);
    temperatureValid_ = value.has_value();
    if (value)
        project_.testTemperature = *value;
}

void Session::onBasisChanged(int index) {
    const FieldEditStep step(*this);
    if (index < 0 || index >= static_cast<int>(standardsList().size()))
        return;
    project_.basisIndex = static_cast<std::uint8_t>(index);
}

void Session::onDateChanged(DateField field, std::optional<CivilDate> date) {
    const FieldEditStep step(*this);
    if (!date || !isValidDate(*date))
        return;
    if (field == DateField::ConstructionDate) {
        storeDate(project_.constructionDate, *date);
    } else {
        storeDate(currentRecord_.testDate, *date);
        writeBack();
    }
}

void Session::onMemberNameChanged(const std::string& text) {
    const FieldEditStep step(*this);
    textToField(text, currentRecord_.memberName);
    writeBack();
    if (currentMember_ >= 0)
        view_.setListCellText(currentMember_, kListNameColumn,
                              fieldToText(currentRecord_.memberName));
}

void Session::onRemarkChanged(const std::string& text) {
    const FieldEditStep step(*this);
    textToField(text, currentRecord_.remark);
    writeBack();
}

ProjectFields Session::projectFields() const {
    ProjectFields fields;
    fields.projectName = fieldToText(project_.projectName);
    fields.instrumentNumber = fieldToText(project_.instrumentNumber);
    fields.temperature = project_.testTemperature;
    fields.basisIndex = project_.basisIndex;
    fields.constructionDate = shownDate(project_.constructionDate);
    fields.reviewer = fieldToText(project_.reviewer);
    fields.chiefInspector = fieldToText(project_.chiefInspector);
    fields.strengthGrade = fieldToText(project_.strengthGrade);
    fields.kind = mortarKind(project_.mortarCode);
    fields.variety = mortarVariety(project_.mortarCode);
    return fields;
}

void Session::showProjectInfo() {
    applyShownDefaults(project_, dateText(today()));
    view_.showProjectFields(projectFields());
    temperatureValid_ = true; // the field holds the stored number again
}

void Session::showMemberInfo() {
    MemberFields fields;
    fields.memberName = fieldToText(currentRecord_.memberName);
    if (currentRecord_.testDate[0] == '\0') {
        const CivilDate date = today();
        storeDate(currentRecord_.testDate, date);
        // The member array gets the date at once: several commands copy the array element
        // back into the working copy, and the date shown must not be lost on the way.
        if (currentMember_ >= 0 && currentMember_ < memberCount())
            storeDate(members_[currentMember_].testDate, date);
        fields.testDate = date;
    } else {
        fields.testDate = shownDate(currentRecord_.testDate);
    }
    fields.remark = fieldToText(currentRecord_.remark);
    view_.showMemberFields(fields);
}

} // namespace morvik
