#include "controls/SongFont.h"

#include <QStringList>

namespace morvik {

namespace {
const char16_t kSongFace[] = u"宋体";

void registerSongSubstitutes() {
    static const bool done = [] {
        const QString face = QString::fromUtf16(kSongFace);
        if (QFont::substitutes(face).isEmpty())
            QFont::insertSubstitutions(face,
                                       {"SimSun", "NSimSun", "Noto Serif CJK SC", "AR PL UMing CN",
                                        "AR PL UMing TW MBE", "Noto Sans CJK SC"});
        return true;
    }();
    (void)done;
}
} // namespace

QFont songFont(int points) {
    registerSongSubstitutes();
    QFont font(QString::fromUtf16(kSongFace));
    font.setPointSize(points);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace morvik
