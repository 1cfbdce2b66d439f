#include "ShownProject.h"

#include "GbkText.h"
#include "Vocabulary.h"

namespace morvik {

void applyShownDefaults(ProjectInfo& project, const std::string& today) {
    if (project.testTemperature == 0)
        project.testTemperature = kDefaultTemperature;
    if (!isStandardIndex(project.basisIndex))
        project.basisIndex = 0;
    if (project.constructionDate[0] == '\0' && !today.empty())
        textToField(today, project.constructionDate);
    project.mortarCode = normaliseMortarCode(project.mortarCode);
}

} // namespace morvik
