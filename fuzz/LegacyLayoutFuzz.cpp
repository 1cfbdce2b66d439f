// Fuzz target: any bytes as the older text-field layout. Whatever the fields hold, the
// reader gives one evaluated member whose texts end inside their fields without a split
// two-byte character, whose depths follow from the two readings, and it agrees with the
// data file reader whenever that one chooses the legacy layout.

#include "core/Evaluation.h"
#include "io/ByteSource.h"
#include "io/DataFile.h"
#include "io/LegacyLayout.h"
#include <cstdlib>
#include <cstring>

using namespace morvik;
using namespace morvik::io_detail;

namespace {

// The field holds its terminator, and the text before it is a whole run of GBK characters.
template <std::size_t N> void checkText(const char (&field)[N]) {
    const void* end = std::memchr(field, '\0', N);
    if (!end)
        std::abort();
    const std::size_t len = static_cast<std::size_t>(static_cast<const char*>(end) - field);
    if (gbkPrefixLength(field, len, len) != len)
        std::abort();
}

bool sameBytes(const void* a, const void* b, std::size_t n) {
    return std::memcmp(a, b, n) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    MemorySource source(bytes, size);
    DataSet data;
    data.members.resize(2);
    if (!readLegacyLayout(source, data))
        return 0; // refused: not a data file of this layout

    if (data.members.size() != 1)
        std::abort();
    const ProjectInfo& p = data.project;
    const ShaJiang_GouJian_Struct& m = data.members[0];
    checkText(p.projectName);
    checkText(p.instrumentNumber);
    checkText(p.reviewer);
    checkText(p.chiefInspector);
    checkText(m.memberName);
    checkText(m.testDate);
    checkText(m.remark);
    if (p.mortarCode != 0x01 && p.mortarCode != 0x02)
        std::abort();

    for (int k = 0; k < kPointCount; ++k) {
        const bool both = isPresent(m.unevenness[k]) && isPresent(m.gaugeReading[k]);
        const float expected = both ? m.gaugeReading[k] - m.unevenness[k] : 0.0f;
        if (!sameBytes(&m.depth[k], &expected, sizeof expected))
            std::abort();
    }

    // The results are those of the evaluation itself: evaluating again changes nothing.
    ShaJiang_GouJian_Struct again = m;
    evaluateMember(again, p.mortarCode);
    if (!sameBytes(&again, &m, sizeof m))
        std::abort();

    // The data file reader takes what has no magic as this layout, and reads it the same.
    DataSet viaFile;
    DataFileLayout layout = DataFileLayout::Record;
    if (readDataFileBytes(bytes, size, viaFile, &layout) == ReadResult::Loaded &&
        layout == DataFileLayout::Legacy) {
        if (viaFile.members.size() != 1 || !sameBytes(&viaFile.project, &p, sizeof p) ||
            !sameBytes(&viaFile.members[0], &m, sizeof m))
            std::abort();
    }
    return 0;
}
