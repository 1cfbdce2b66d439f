#pragma once
// Builds member records from depths for the evaluation tests.

#include "core/Records.h"
#include <initializer_list>

namespace morvik::test {

// A fresh member whose first points have unevenness 0 and the given depths as gauge
// readings (and depths); the remaining points stay missing.
inline ShaJiang_GouJian_Struct memberWithDepths(std::initializer_list<float> depths) {
    ShaJiang_GouJian_Struct record = newMemberRecord(1);
    int k = 0;
    for (float d : depths) {
        record.unevenness[k] = 0.0f;
        record.gaugeReading[k] = d;
        record.depth[k] = d;
        ++k;
    }
    return record;
}

inline ShaJiang_GouJian_Struct memberWithEqualDepths(int points, float depth) {
    ShaJiang_GouJian_Struct record = newMemberRecord(1);
    for (int k = 0; k < points; ++k) {
        record.unevenness[k] = 0.0f;
        record.gaugeReading[k] = depth;
        record.depth[k] = depth;
    }
    return record;
}

} // namespace morvik::test
