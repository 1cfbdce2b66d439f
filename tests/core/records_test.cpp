#include "core/GbkText.h"
#include "core/Records.h"
#include "core/ShownProject.h"
#include "core/Vocabulary.h"

#include <cstring>
#include <gtest/gtest.h>
#include <iterator>
#include <random>

using namespace morvik;

TEST(MemberRecord, NewRecordForFifthRowIsNamedAndEmpty) {
    const ShaJiang_GouJian_Struct r = newMemberRecord(5);
    EXPECT_EQ(fieldToText(r.memberName), "G005");
    int missing = 0;
    for (int k = 0; k < kPointCount; ++k)
        missing += (r.unevenness[k] == kMissing) + (r.gaugeReading[k] == kMissing) +
                   (r.depth[k] == kMissing);
    missing +=
        (r.meanDepth == kMissing) + (r.strength == kMissing) + (r.memberEstimate == kMissing);
    EXPECT_EQ(missing, 51);
    EXPECT_EQ(r.testDate[0], '\0');
    EXPECT_EQ(r.remark[0], '\0');
    for (unsigned char b : r.reserved1)
        EXPECT_EQ(b, 0);
    for (unsigned char b : r.reserved2)
        EXPECT_EQ(b, 0);
}

TEST(MemberRecord, MissingMarkerHasItsBitPattern) {
    std::uint32_t bits;
    std::memcpy(&bits, &kMissing, sizeof bits);
    EXPECT_EQ(bits, 0xC4C80000u);
}

TEST(MemberRecord, PresenceIsStrictlyAboveMinusThousand) {
    EXPECT_TRUE(isPresent(-999.99f));
    EXPECT_FALSE(isPresent(-1000.0f));
    EXPECT_FALSE(isPresent(kMissing));
    EXPECT_TRUE(isPresent(0.0f));
    EXPECT_TRUE(isPresent(-999.99));
    EXPECT_FALSE(isPresent(-1000.0));
}

// Over random readings, missing ones and the presence threshold among them: a point has a
// depth exactly when both readings count as present, the depth is their single-precision
// difference, and nothing else of the record moves.
TEST(MemberRecord, DepthFollowsBothReadingsOfItsPointOnly) {
    std::mt19937 random(27);
    const float edges[] = {kMissing, kPresenceThreshold, -999.99f, 0.0f, -0.0f, 99.99f};
    std::uniform_real_distribution<float> reading(-150.0f, 150.0f);
    auto draw = [&] {
        return random() % 3 == 0 ? edges[random() % std::size(edges)] : reading(random);
    };
    for (int round = 0; round < 2000; ++round) {
        ShaJiang_GouJian_Struct r = newMemberRecord(1);
        for (int k = 0; k < kPointCount; ++k) {
            r.unevenness[k] = draw();
            r.gaugeReading[k] = draw();
            r.depth[k] = draw();
        }
        const int point = int(random() % kPointCount);
        const float whenMissing = round % 2 ? 0.0f : kMissing;
        const ShaJiang_GouJian_Struct before = r;
        const float u = r.unevenness[point], g = r.gaugeReading[point];
        const bool both = u > -1000.0f && g > -1000.0f;

        EXPECT_EQ(pointHasDepth(r, point), both);
        EXPECT_EQ(updatePointDepth(r, point, whenMissing), both);
        const float difference = g - u;
        EXPECT_EQ(r.depth[point], both ? difference : whenMissing) << u << ' ' << g;
        ShaJiang_GouJian_Struct rest = r;
        rest.depth[point] = before.depth[point];
        EXPECT_EQ(std::memcmp(&rest, &before, sizeof rest), 0);
    }
}

TEST(MortarCode, NormalisedIntoTheCodesInUse) {
    struct Case {
        std::uint8_t in, out;
    };
    const Case cases[] = {{0x00, 0x00}, {0x01, 0x01}, {0x02, 0x02}, {0x10, 0x10},
                          {0x11, 0x11}, {0x25, 0x00}, {0x22, 0x02}, {0x13, 0x10},
                          {0x03, 0x00}, {0xF1, 0x01}, {0x12, 0x10}, {0xFF, 0x00}};
    for (const Case& c : cases)
        EXPECT_EQ(normaliseMortarCode(c.in), c.out) << std::hex << int(c.in);
}

// Every kind and variety a nibble can hold packs into a code that unpacks to them again,
// and every byte is the code of its own kind and variety.
TEST(MortarCode, PackingAndUnpackingAreInverse) {
    for (int kind = 0; kind < 16; ++kind)
        for (int variety = 0; variety < 16; ++variety) {
            const std::uint8_t code = packMortarCode(kind, variety);
            EXPECT_EQ(code, kind * 16 + variety);
            EXPECT_EQ(mortarKind(code), kind);
            EXPECT_EQ(mortarVariety(code), variety);
        }
    for (int byte = 0; byte < 256; ++byte) {
        const auto code = static_cast<std::uint8_t>(byte);
        EXPECT_EQ(packMortarCode(mortarKind(code), mortarVariety(code)), code);
    }
}

// Over random records: showing fills in only what is unset, leaves every other byte as it
// was, and showing again changes nothing.
TEST(ShownProject, FillsOnlyWhatIsUnsetAndShowingAgainChangesNothing) {
    std::mt19937 random(25);
    for (int round = 0; round < 2000; ++round) {
        ProjectInfo p;
        auto* bytes = reinterpret_cast<unsigned char*>(&p);
        for (std::size_t i = 0; i < sizeof p; ++i)
            bytes[i] = random() % 4 ? 0 : static_cast<unsigned char>(random());
        const std::string today = round % 3 ? "2024年1月2日" : "";
        ProjectInfo shown = p;
        applyShownDefaults(shown, today);

        EXPECT_EQ(shown.testTemperature, p.testTemperature ? p.testTemperature : 25);
        EXPECT_EQ(shown.basisIndex, p.basisIndex < standardsList().size() ? p.basisIndex : 0);
        EXPECT_EQ(shown.mortarCode, normaliseMortarCode(p.mortarCode));
        EXPECT_EQ(fieldToText(shown.constructionDate),
                  p.constructionDate[0] ? fieldToText(p.constructionDate) : today);
        ProjectInfo rest = shown;
        rest.testTemperature = p.testTemperature;
        rest.basisIndex = p.basisIndex;
        rest.mortarCode = p.mortarCode;
        std::memcpy(rest.constructionDate, p.constructionDate, sizeof rest.constructionDate);
        EXPECT_EQ(std::memcmp(&rest, &p, sizeof p), 0);

        ProjectInfo again = shown;
        applyShownDefaults(again, today);
        EXPECT_EQ(std::memcmp(&again, &shown, sizeof shown), 0);
    }
}

TEST(Vocabulary, ListsInTheirOrder) {
    EXPECT_EQ(standardsList(), std::vector<std::string>{"JGJ/T 136-2017"});
    EXPECT_EQ(kindList(), (std::vector<std::string>{"砌筑砂浆", "水泥抹灰砂浆"}));
    EXPECT_EQ(varietyLists()[0],
              (std::vector<std::string>{"预拌砂浆", "水泥混合砂浆", "水泥砂浆"}));
    EXPECT_EQ(varietyLists()[1], (std::vector<std::string>{"预拌砂浆", "现场拌制砂浆"}));
}

TEST(Vocabulary, TextsOfCodes) {
    EXPECT_EQ(kindText(0x02), "砌筑砂浆");
    EXPECT_EQ(varietyText(0x02), "水泥砂浆");
    EXPECT_EQ(kindText(0x11), "水泥抹灰砂浆");
    EXPECT_EQ(varietyText(0x11), "现场拌制砂浆");
    EXPECT_EQ(varietyText(0x10), "预拌砂浆");
    // Codes outside the lists name nothing rather than reading past them.
    EXPECT_EQ(kindText(0x20), "");
    EXPECT_EQ(varietyText(0x05), "");
    EXPECT_EQ(varietyText(0x12), "");
}
