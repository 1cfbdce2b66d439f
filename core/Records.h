#pragma once
// The fixed-size records of the data set. They are written to and read from files byte
// for byte, so their layout is a binary format: every size and offset is checked below.

#include <cstddef>
#include <cstdint>

namespace morvik {

constexpr int kPointCount = 16;      // measuring points per member
constexpr float kMissing = -1600.0f; // no-value marker (bit pattern 0xC4C80000)
constexpr float kPresenceThreshold = -1000.0f;

} // namespace morvik

// One structural member: its number, date, remark, the readings of its 16 points and its
// three evaluated results. Texts are GBK, NUL-terminated.
struct ShaJiang_GouJian_Struct {
    char memberName[40];
    char testDate[15];
    std::uint8_t padding;
    float unevenness[morvik::kPointCount];
    float gaugeReading[morvik::kPointCount];
    float depth[morvik::kPointCount];
    float meanDepth;
    float strength;
    float memberEstimate;
    std::uint8_t reserved1[124]; // carried through unchanged, never read
    char remark[128];
    std::uint8_t reserved2[256]; // carried through unchanged, never read
};

static_assert(sizeof(ShaJiang_GouJian_Struct) == 768);
static_assert(offsetof(ShaJiang_GouJian_Struct, memberName) == 0);
static_assert(offsetof(ShaJiang_GouJian_Struct, testDate) == 40);
static_assert(offsetof(ShaJiang_GouJian_Struct, padding) == 55);
static_assert(offsetof(ShaJiang_GouJian_Struct, unevenness) == 56);
static_assert(offsetof(ShaJiang_GouJian_Struct, gaugeReading) == 120);
static_assert(offsetof(ShaJiang_GouJian_Struct, depth) == 184);
static_assert(offsetof(ShaJiang_GouJian_Struct, meanDepth) == 248);
static_assert(offsetof(ShaJiang_GouJian_Struct, strength) == 252);
static_assert(offsetof(ShaJiang_GouJian_Struct, memberEstimate) == 256);
static_assert(offsetof(ShaJiang_GouJian_Struct, reserved1) == 260);
static_assert(offsetof(ShaJiang_GouJian_Struct, remark) == 384);
static_assert(offsetof(ShaJiang_GouJian_Struct, reserved2) == 512);

// The project information shared by all members of a data set. Texts are GBK.
struct ProjectInfo {
    char projectName[128];
    char instrumentNumber[40];
    std::int16_t testTemperature; // 0 = not set
    std::uint8_t reserved1[2];
    std::uint8_t basisIndex; // index into the standards list
    std::uint8_t reserved2[59];
    char reviewer[16];
    char chiefInspector[16];
    char constructionDate[15];
    std::uint8_t mortarCode; // high nibble kind, low nibble variety
    char strengthGrade[16];
    std::uint8_t reserved3[128];
};

static_assert(sizeof(ProjectInfo) == 424);
static_assert(offsetof(ProjectInfo, projectName) == 0);
static_assert(offsetof(ProjectInfo, instrumentNumber) == 128);
static_assert(offsetof(ProjectInfo, testTemperature) == 168);
static_assert(offsetof(ProjectInfo, reserved1) == 170);
static_assert(offsetof(ProjectInfo, basisIndex) == 172);
static_assert(offsetof(ProjectInfo, reserved2) == 173);
static_assert(offsetof(ProjectInfo, reviewer) == 232);
static_assert(offsetof(ProjectInfo, chiefInspector) == 248);
static_assert(offsetof(ProjectInfo, constructionDate) == 264);
static_assert(offsetof(ProjectInfo, mortarCode) == 279);
static_assert(offsetof(ProjectInfo, strengthGrade) == 280);
static_assert(offsetof(ProjectInfo, reserved3) == 296);

// Header, footer and page number of the record sheet; stored in the settings file as
// one 144-byte block. Texts are GBK.
struct PrintSettings {
    std::uint8_t pageNumberFormat;   // 0..4; above 4 is used as 4
    std::uint8_t pageNumberPosition; // 0..5
    std::uint8_t reserved[2];        // kept as read, never interpreted
    std::int32_t printHeader;        // 1 = draw
    char headerText[64];
    std::int32_t printFooter;
    char footerText[64];
    std::int32_t printPageNumber;
};

static_assert(sizeof(PrintSettings) == 144);
static_assert(offsetof(PrintSettings, pageNumberFormat) == 0);
static_assert(offsetof(PrintSettings, pageNumberPosition) == 1);
static_assert(offsetof(PrintSettings, reserved) == 2);
static_assert(offsetof(PrintSettings, printHeader) == 4);
static_assert(offsetof(PrintSettings, headerText) == 8);
static_assert(offsetof(PrintSettings, printFooter) == 72);
static_assert(offsetof(PrintSettings, footerText) == 76);
static_assert(offsetof(PrintSettings, printPageNumber) == 140);

namespace morvik {

// A value counts as present exactly when it is greater than -1000.0.
inline bool isPresent(float value) {
    return value > kPresenceThreshold;
}
inline bool isPresent(double value) {
    return value > static_cast<double>(kPresenceThreshold);
}

// A new member for the list position `position` (1-based): all bytes zero, every
// reading, depth and result missing, memberName "G%03d". Not yet evaluated; evaluating
// it leaves the results missing.
ShaJiang_GouJian_Struct newMemberRecord(int position);

// Marks every reading, depth and result of `record` missing; names, dates, the remark
// and the reserved bytes are left as they are.
void clearMemberReadings(ShaJiang_GouJian_Struct& record);

// A point (0-based) has a depth exactly when both of its readings are present.
inline bool pointHasDepth(const ShaJiang_GouJian_Struct& record, int point) {
    return isPresent(record.unevenness[point]) && isPresent(record.gaugeReading[point]);
}

// Sets the depth of `point` (0-based) from its readings: penetrometer reading minus
// unevenness reading, in single precision, when the point has a depth, otherwise
// `whenMissing` (the older file layout stores 0 there). Returns whether it has one.
bool updatePointDepth(ShaJiang_GouJian_Struct& record, int point, float whenMissing = kMissing);

} // namespace morvik
