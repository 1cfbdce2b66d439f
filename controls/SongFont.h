#pragma once
// The controls' fixed face "宋体" at a point size. The face is mapped once per process to
// the Song-style CJK fonts that are present, so the same name works on every platform.
#include <QFont>

namespace morvik {

QFont songFont(int points);

} // namespace morvik
