#pragma once
// The data set from the JSON that `morvik-cli show` prints: the project object and the
// members with their texts and the three arrays of 16 readings. Result fields, "shown"
// and "layout" are ignored; the members are evaluated as opening a file evaluates them.

#include "JsonReader.h"
#include "io/DataFile.h"
#include <optional>
#include <string>
#include <string_view>

namespace morvik::cli::old {

// Fills `data` from `json`. On any fault `data` is unspecified and the text names the
// place: "members[2].unevenness[4]: ...". Texts are stored in GBK only when they fit
// their field whole; a text that would be cut or changed is a fault, not a silent loss.
std::optional<std::string> dataSetFromJson(std::string_view json, DataSet& data);

// The same from the text `source` gives, which is `expectedSize` bytes long as far as
// known (0 when not; it only sizes memory ahead). A failing source throws JsonSourceError.
std::optional<std::string> dataSetFromJson(const JsonReader::Source& source,
                                           std::size_t expectedSize, DataSet& data);

// The same, handing each member to `members` as soon as it is read and evaluated instead
// of keeping them all; members that come before the project wait for it. On a fault some
// members may have been handed over already.
std::optional<std::string> dataSetFromJson(const JsonReader::Source& source,
                                           std::size_t expectedSize, ProjectInfo& project,
                                           MemberSink& members);

} // namespace morvik::cli::old
