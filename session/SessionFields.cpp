// The project and member fields: how a change is stored, and how the fields are shown
// again with their defaults.

#include "core/DateText.h"
#include "core/GbkText.h"
#include "core/ShownProject.h"
#include "core/TemperatureText.h"
#include "core/Vocabulary.h"
#include "session/Columns.h"
#include "session/Session.h"
#include "session/SessionHistory.h"
#include <cstring>

namespace morvik {

namespace {

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
    const std::optional<std::int16_t> value = temperatureFromText(text);
    temperatureValid_ = value.has_value();
    if (value)
        project_.testTemperature = *value;
}

void Session::onBasisChanged(int index) {
    const FieldEditStep step(*this);
    if (!isStandardIndex(index))
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
