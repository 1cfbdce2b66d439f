#include "Records.h"

#include "GbkText.h"
#include <cstdio>
#include <cstring>

namespace morvik {

void clearMemberReadings(ShaJiang_GouJian_Struct& record) {
    for (int k = 0; k < kPointCount; ++k) {
        record.unevenness[k] = kMissing;
        record.gaugeReading[k] = kMissing;
        record.depth[k] = kMissing;
    }
    record.meanDepth = kMissing;
    record.strength = kMissing;
    record.memberEstimate = kMissing;
}

bool updatePointDepth(ShaJiang_GouJian_Struct& record, int point, float whenMissing) {
    const bool has = pointHasDepth(record, point);
    record.depth[point] = has ? record.gaugeReading[point] - record.unevenness[point] : whenMissing;
    return has;
}

ShaJiang_GouJian_Struct newMemberRecord(int position) {
    ShaJiang_GouJian_Struct record;
    std::memset(&record, 0, sizeof record);
    clearMemberReadings(record);
    char name[32];
    std::snprintf(name, sizeof name, "G%03d", position);
    textToField(name, record.memberName);
    return record;
}

} // namespace morvik
