#include "ShownProject.h"

#include "core/Vocabulary.h"

namespace morvik::cli {

void asShownAfterOpening(ProjectInfo& project) {
    project.mortarCode = normaliseMortarCode(project.mortarCode);
    if (project.testTemperature == 0)
        project.testTemperature = kShownTemperature;
    if (project.basisIndex >= standardsList().size())
        project.basisIndex = 0;
}

} // namespace morvik::cli
