// Header, footer and page number on the sheet, and the rules behind the settings dialog.
#include "SheetFixture.h"
#include "sheet/PageNumbering.h"

namespace morvik {
namespace {

// A4 at 600 dpi: L 450, R 4509, T 438, B 6378; "第1页" is 230 wide and 92 high.
constexpr int kBelowB = 6378 + 30;
constexpr int kAboveT = 438 - 122;

struct PositionCase {
    int position;
    int x, y;
    bool topRule;
    bool bottomRule;
};

TEST(PageNumber, EachPositionPlacesTheNumberAndItsRule) {
    const PositionCase cases[] = {
        {0, 4279, kBelowB, false, true}, {1, 2364, kBelowB, false, true},
        {2, 450, kBelowB, false, true},  {3, 4279, kAboveT, true, false},
        {4, 2364, kAboveT, true, false}, {5, 450, kAboveT, true, false},
        {9, 450, kAboveT, true, false}, // beyond the list: top left
    };
    for (const auto& k : cases) {
        SheetFixture f;
        f.settings.printPageNumber = 1;
        f.settings.pageNumberFormat = 3;
        f.settings.pageNumberPosition = static_cast<std::uint8_t>(k.position);
        const RecordingCanvas c = f.draw();
        const auto number = only(c, "第1页");
        EXPECT_EQ(number.x, k.x) << k.position;
        EXPECT_EQ(number.y, k.y) << k.position;
        EXPECT_EQ(countRules(c, 450, 438, 4509, 438), k.topRule ? 1 : 0) << k.position;
        EXPECT_EQ(countRules(c, 450, 6378, 4509, 6378), k.bottomRule ? 1 : 0) << k.position;
    }
}

TEST(PageNumber, TopRuleOnlyForAHeaderOrATopPageNumber) {
    struct Case {
        const char* name;
        int header, pageNumber, position;
        bool topRule;
    };
    const Case cases[] = {
        {"nothing", 0, 0, 0, false},
        {"header only", 1, 0, 0, true},
        {"page number at the bottom", 0, 1, 2, false},
        {"page number at the top", 0, 1, 3, true},
        {"top position but no page number", 0, 0, 5, false},
    };
    for (const auto& k : cases) {
        SheetFixture f;
        f.settings.printHeader = k.header;
        f.settings.printPageNumber = k.pageNumber;
        f.settings.pageNumberPosition = static_cast<std::uint8_t>(k.position);
        EXPECT_EQ(countRules(f.draw(), 450, 438, 4509, 438), k.topRule ? 1 : 0) << k.name;
    }
}

TEST(PageNumber, TopLeftWithoutHeaderOrFooter) {
    SheetFixture f;
    f.settings.printPageNumber = 1;
    f.settings.pageNumberPosition = 5;
    const RecordingCanvas c = f.draw(2);
    EXPECT_EQ(only(c, ".2.").x, 450);
    EXPECT_EQ(only(c, ".2.").y, kAboveT);
    EXPECT_EQ(countRules(c, 450, 438, 4509, 438), 1);
    EXPECT_EQ(countRules(c, 450, 6378, 4509, 6378), 0);
}

TEST(PageNumber, FooterAndBottomNumberDrawTheBottomRuleTwice) {
    SheetFixture f;
    f.settings.printFooter = 1;
    textToField("ABC", f.settings.footerText);
    f.settings.printPageNumber = 1;
    f.settings.pageNumberPosition = 0;
    const RecordingCanvas c = f.draw();
    EXPECT_EQ(countRules(c, 450, 6378, 4509, 6378), 2);
    // "ABC" is 138 wide: (4509 − 138 + 450) / 2.
    EXPECT_EQ(only(c, "ABC").x, 2410);
    EXPECT_EQ(only(c, "ABC").y, kBelowB);
    EXPECT_EQ(only(c, ".1.").x, 4509 - 138);
}

TEST(PageNumber, HeaderStandsAThirdOfItsHeightAboveTheTopRule) {
    SheetFixture f;
    f.settings.printHeader = 1;
    textToField("ABC", f.settings.headerText);
    const RecordingCanvas c = f.draw();
    // trunc((4509 − 138 − 450) × 0.5 + 450), trunc(438 − 92 × 4 / 3.0).
    EXPECT_EQ(only(c, "ABC").x, 2410);
    EXPECT_EQ(only(c, "ABC").y, 315);
    // Drawn after the title, before the page count.
    EXPECT_EQ(c.texts[0].text, QStringLiteral("砂浆抗压强度贯入检测记录表"));
    EXPECT_EQ(c.texts[1].text, QStringLiteral("ABC"));
}

TEST(PageNumber, EmptyHeaderAndFooterPrintOnlyTheirRules) {
    SheetFixture f;
    f.settings.printHeader = 1;
    f.settings.printFooter = 1;
    const RecordingCanvas c = f.draw();
    EXPECT_EQ(countRules(c, 450, 438, 4509, 438), 1);
    EXPECT_EQ(countRules(c, 450, 6378, 4509, 6378), 1);
}

TEST(PageNumber, FormatsAndTheFallbackBeyondTheList) {
    const char* expected[] = {".2.",         "2",           "--2--",      "第2页",
                              "共7页 第2页", "共7页 第2页", "共7页 第2页"};
    for (int format = 0; format < 7; ++format) {
        PrintSettings s{};
        s.pageNumberFormat = static_cast<std::uint8_t>(format == 6 ? 255 : format);
        EXPECT_EQ(pageNumberText(s, 2, 7), QString::fromUtf8(expected[format])) << format;
    }
    SheetFixture f;
    f.settings.printPageNumber = 1;
    f.settings.pageNumberFormat = 7;
    f.totalPages = 5;
    EXPECT_EQ(f.draw(4).find("共5页 第4页").size(), 2u); // the page count and the number
}

TEST(PrintSettingsRules, DefaultsKeepTheReservedBytes) {
    PrintSettings s{};
    s.reserved[0] = 7;
    s.reserved[1] = 9;
    s.pageNumberPosition = 5;
    s.printFooter = 1;
    const PrintSettings d = defaultPrintSettings(s);
    EXPECT_EQ(d.pageNumberFormat, 3);
    EXPECT_EQ(d.pageNumberPosition, 1);
    EXPECT_EQ(d.printHeader, 1);
    EXPECT_EQ(d.printFooter, 0);
    EXPECT_EQ(d.printPageNumber, 1);
    EXPECT_EQ(fieldToText(d.headerText), "砂浆抗压强度贯入检测纪录表");
    EXPECT_EQ(fieldToText(d.footerText), "砂浆抗压强度贯入检测纪录表");
    EXPECT_EQ(d.reserved[0], 7);
    EXPECT_EQ(d.reserved[1], 9);
}

TEST(PrintSettingsRules, PlacementConflicts) {
    struct Case {
        const char* name;
        int pageNumber, header, footer, position;
        const char* message; // nullptr: accepted
    };
    const Case cases[] = {
        {"bottom centre on the footer", 1, 0, 1, 1, "页码与页脚位置干涉，请重新设置！"},
        {"top centre on the header", 1, 1, 0, 4, "页码与页眉位置干涉，请重新设置！"},
        {"footer checked first", 1, 1, 1, 1, "页码与页脚位置干涉，请重新设置！"},
        {"bottom right with footer", 1, 1, 1, 0, nullptr},
        {"top left with header", 1, 1, 1, 5, nullptr},
        {"no page number", 0, 1, 1, 1, nullptr},
        {"bottom centre without footer", 1, 1, 0, 1, nullptr},
    };
    for (const auto& k : cases) {
        PrintSettings s{};
        s.printPageNumber = k.pageNumber;
        s.printHeader = k.header;
        s.printFooter = k.footer;
        s.pageNumberPosition = static_cast<std::uint8_t>(k.position);
        const auto conflict = placementConflict(s);
        ASSERT_EQ(conflict.has_value(), k.message != nullptr) << k.name;
        if (conflict) {
            EXPECT_EQ(conflict->text, k.message) << k.name;
            EXPECT_EQ(conflict->caption, "提示");
            EXPECT_EQ(conflict->icon, MessageIcon::Warning);
        }
    }
}

} // namespace
} // namespace morvik
