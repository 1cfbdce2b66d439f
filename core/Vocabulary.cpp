#include "Vocabulary.h"

namespace morvik {

const std::vector<std::string>& standardsList() {
    static const std::vector<std::string> list{"JGJ/T 136-2017"};
    return list;
}

bool isStandardIndex(std::int64_t index) {
    return index >= 0 && index < static_cast<std::int64_t>(standardsList().size());
}

const std::vector<std::string>& kindList() {
    static const std::vector<std::string> list{"砌筑砂浆", "水泥抹灰砂浆"};
    return list;
}

const std::array<std::vector<std::string>, 2>& varietyLists() {
    static const std::array<std::vector<std::string>, 2> lists{
        std::vector<std::string>{"预拌砂浆", "水泥混合砂浆", "水泥砂浆"},
        std::vector<std::string>{"预拌砂浆", "现场拌制砂浆"}};
    return lists;
}

std::uint8_t normaliseMortarCode(std::uint8_t code) {
    if (mortarKind(code) > kKindPlastering)
        code = packMortarCode(kKindMasonry, mortarVariety(code));
    const int kind = mortarKind(code);
    const int varieties = static_cast<int>(varietyLists()[kind].size());
    if (mortarVariety(code) >= varieties)
        code = packMortarCode(kind, 0);
    return code;
}

std::string kindText(std::uint8_t code) {
    const int kind = mortarKind(code);
    return kind < static_cast<int>(kindList().size()) ? kindList()[kind] : std::string();
}

std::string varietyText(std::uint8_t code) {
    const int kind = mortarKind(code);
    if (kind >= static_cast<int>(varietyLists().size()))
        return {};
    const auto& varieties = varietyLists()[kind];
    const int variety = mortarVariety(code);
    return variety < static_cast<int>(varieties.size()) ? varieties[variety] : std::string();
}

} // namespace morvik
