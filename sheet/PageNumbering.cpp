#include "sheet/PageNumbering.h"

#include "core/GbkText.h"

namespace morvik {

namespace {

constexpr int kDefaultFormat = 3;   // "第%d页"
constexpr int kDefaultPosition = 1; // bottom centre
// The default texts say "纪录表"; the sheet's title says "记录表". Both are kept as they were.
constexpr const char* kDefaultPrintText = "砂浆抗压强度贯入检测纪录表";
constexpr const char* kFooterConflict = "页码与页脚位置干涉，请重新设置！";
constexpr const char* kHeaderConflict = "页码与页眉位置干涉，请重新设置！";

} // namespace

const QStringList& pageNumberFormatSamples() {
    static const QStringList samples{".1.", "1", "--1--", "第1页", "共1页 第1页"};
    return samples;
}

const QStringList& pageNumberPositionTexts() {
    static const QStringList texts{"底部居右", "底部居中", "底部居左",
                                   "顶部居右", "顶部居中", "顶部居左"};
    return texts;
}

QString pageNumberText(const PrintSettings& settings, int pageNumber, int totalPages) {
    switch (settings.pageNumberFormat) {
    case 0:
        return QString::asprintf(".%d.", pageNumber);
    case 1:
        return QString::asprintf("%d", pageNumber);
    case 2:
        return QString::asprintf("--%d--", pageNumber);
    case 3:
        return QString::asprintf("第%d页", pageNumber);
    default:
        return QString::asprintf("共%d页 第%d页", totalPages, pageNumber);
    }
}

PageNumberPosition pagePosition(const PrintSettings& settings) {
    if (settings.pageNumberPosition >= kPageNumberPositionCount)
        return PageNumberPosition::TopLeft;
    return static_cast<PageNumberPosition>(settings.pageNumberPosition);
}

bool isBottomPosition(PageNumberPosition position) {
    return position == PageNumberPosition::BottomRight ||
           position == PageNumberPosition::BottomCentre ||
           position == PageNumberPosition::BottomLeft;
}

bool drawsTopRule(const PrintSettings& settings) {
    return settings.printHeader != 0 ||
           (settings.printPageNumber != 0 &&
            settings.pageNumberPosition >= static_cast<int>(PageNumberPosition::TopRight));
}

PrintSettings defaultPrintSettings(const PrintSettings& current) {
    PrintSettings s = current;
    s.pageNumberFormat = kDefaultFormat;
    s.pageNumberPosition = kDefaultPosition;
    s.printHeader = 1;
    textToField(kDefaultPrintText, s.headerText);
    s.printFooter = 0;
    textToField(kDefaultPrintText, s.footerText);
    s.printPageNumber = 1;
    return s;
}

std::optional<Message> placementConflict(const PrintSettings& settings) {
    if (settings.printPageNumber == 0)
        return std::nullopt;
    const auto position = settings.pageNumberPosition;
    if (position == static_cast<int>(PageNumberPosition::BottomCentre) && settings.printFooter != 0)
        return Message{kFooterConflict, kCaptionNotice, MessageIcon::Warning};
    if (position == static_cast<int>(PageNumberPosition::TopCentre) && settings.printHeader != 0)
        return Message{kHeaderConflict, kCaptionNotice, MessageIcon::Warning};
    return std::nullopt;
}

} // namespace morvik
