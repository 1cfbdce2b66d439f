#pragma once
// Where the parts of a data set lie in JSON laid out as `show` prints it, found without
// parsing the values: the project's object and the members' objects in runs of about a
// given size. Each part can then be parsed on its own, so the parser's index never grows
// with the whole text and stays in the cache.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace morvik::cli {

struct JsonLayout {
    // The project's value, an object's text from its "{" to its "}".
    std::string_view project;
    // The members in order, in runs: each run is the text from the first "{" of a member
    // to the last "}" of a later one, the members in it separated by commas. Joined by
    // commas, the runs are the members array's contents exactly.
    std::vector<std::string_view> runs;
    // The values of any other keys, which nobody needs but must be JSON all the same.
    std::vector<std::string_view> others;
};

// The layout of `text` where it is an object whose "project" (an object) comes before its
// "members" (a non-empty array of objects), each given once, its keys plain ASCII, with
// nothing after it but white space; nothing where it is laid out otherwise or where the
// values are not even balanced. The values themselves are
// not checked: each part must still be parsed as JSON. A run holds members of together at
// least `runSize` bytes, where there are that many.
std::optional<JsonLayout> findJsonLayout(std::string_view text, std::size_t runSize);

} // namespace morvik::cli
