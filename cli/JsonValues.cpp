#include "JsonValues.h"

#include "core/Records.h"
#include <cmath>

namespace morvik::cli {

namespace {
constexpr int kIndent = 2;
}

Json storedNumber(float value) {
    if (!isPresent(value) || !std::isfinite(value))
        return nullptr;
    return static_cast<double>(value);
}

Json resultNumber(double value) {
    if (!isPresent(value) || !std::isfinite(value))
        return nullptr;
    return value;
}

std::string dumpJson(const Json& json) {
    // Texts come out of GBK conversion as valid UTF-8; replace rather than throw if not.
    return json.dump(kIndent, ' ', false, Json::error_handler_t::replace) + "\n";
}

} // namespace morvik::cli
