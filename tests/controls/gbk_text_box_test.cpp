// The GBK text box's admission rule over random texts and limits: whatever arrives, what
// goes in is storable, fits every limit, and is cut only at the end.
#include "controls/GbkInput.h"
#include "controls/GbkTextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>
#include <iterator>
#include <random>

using namespace morvik;

namespace {

// Pieces with one and two GBK bytes, none (Hangul, an emoji's surrogate pair, a base with
// a mark GBK lacks), and every kind of line break.
const char16_t* const kPieces[] = {u"a",  u" ",      u"墙",     u"€",     u"한",
                                   u"😀", u"e\u0301", u"\n",     u"\r",    u"\r\n",
                                   u"\v", u"\u2028", u"\u2029", u"\u0085"};

QString randomText(std::mt19937& random, int pieces) {
    QString text;
    for (int i = 0; i < pieces; ++i)
        text += QString::fromUtf16(kPieces[random() % std::size(kPieces)]);
    return text;
}

int lineBreaks(const QString& text) {
    return int(std::count_if(text.begin(), text.end(), isLineSeparator));
}

TEST(GbkTextBox, AdmittedTextIsStorableFitsAndGrowsWithTheRoom) {
    std::mt19937 random(27);
    for (int round = 0; round < 3000; ++round) {
        const QString text = randomText(random, int(random() % 12));
        const int chars = int(random() % 10), bytes = int(random() % 14),
                  breaks = int(random() % 3);
        const QString admitted = admitGbkText(text, chars, bytes, breaks);
        SCOPED_TRACE(text.toStdString() + " in " + std::to_string(chars) + "/" +
                     std::to_string(bytes) + "/" + std::to_string(breaks));

        EXPECT_TRUE(hasGbkForm(admitted));
        EXPECT_FALSE(admitted.contains(u'\r'));
        EXPECT_LE(admitted.size(), chars);
        EXPECT_LE(gbkByteCount(admitted), bytes);
        EXPECT_LE(lineBreaks(admitted), breaks);
        // Admitted once, admitted whole: undo and redo only meet texts made this way.
        EXPECT_EQ(admitGbkText(admitted, chars, bytes, breaks), admitted);
        // More room only lets more of the same text in after it.
        EXPECT_TRUE(admitGbkText(text, chars + 1, bytes + 2, breaks).startsWith(admitted));
    }
}

// Keys, Ctrl+Enter and pastes in any order never take a box past its limits.
TEST(GbkTextBox, TypingAndPastingNeverPassTheLimits) {
    std::mt19937 random(136);
    for (int round = 0; round < 40; ++round) {
        const GbkTextLimits limits{int(1 + random() % 12), int(1 + random() % 16),
                                   int(1 + random() % 3)};
        GbkTextBox box(limits);
        box.show();
        box.setFocus();
        for (int step = 0; step < 30; ++step) {
            const QString text = randomText(random, 1 + int(random() % 3));
            switch (random() % 3) {
            case 0:
                QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_unknown, text, Qt::NoModifier);
                break;
            case 1:
                QTest::keyClick(&box, Qt::Key_Return, Qt::ControlModifier);
                break;
            default:
                QApplication::clipboard()->setText(text);
                box.paste();
            }
            const QString shown = box.toPlainText();
            ASSERT_LE(shown.size(), limits.characters) << shown.toStdString();
            ASSERT_LE(gbkByteCount(shown), limits.bytes) << shown.toStdString();
            ASSERT_LT(lineBreaks(shown), limits.lines) << shown.toStdString();
            ASSERT_TRUE(hasGbkForm(shown)) << shown.toStdString();
        }
    }
}

} // namespace
