#pragma once
// The parts of a data set in JSON laid out as `show` prints it, found without parsing the
// values: the project's object, the members' objects in runs of about a given size, and
// the values of any other keys. Each part can then be parsed on its own while it is still
// in the cache, so the parser's index never grows with the whole text.

#include <cstddef>
#include <optional>
#include <string_view>

namespace morvik::cli {

// Finds the parts one by one, in the order of the text. The text must be an object whose
// "project" (an object) comes before its "members" (a non-empty array of objects), each
// given once, its keys plain ASCII, with nothing after it but white space. The values
// themselves are not checked: each part must still be parsed as JSON.
class JsonLayoutScan {
public:
    struct Piece {
        enum Kind {
            Project, // the project's object, from its "{" to its "}"
            // A run of members: from the first "{" of a member to the last "}" of a later
            // one, the members in it separated by commas. Joined by commas, the runs are
            // the members array's contents exactly.
            Members,
            Other, // the value of any other key, which nobody needs but must be JSON
            End,   // the text is over
        } kind;
        std::string_view text;
    };

    // A run holds members of together at least `runSize` bytes, where there are that many.
    JsonLayoutScan(std::string_view text, std::size_t runSize);

    // The next part; nothing where the text is not laid out so, or its values are not
    // even balanced (the parts found before stand).
    std::optional<Piece> next();

private:
    std::optional<Piece> failed();

    enum class State { Start, Key, Members, AfterValue, Done, Failed };
    State state_ = State::Start;
    const char* at_;
    const char* end_;
    std::size_t runSize_;
    bool haveProject_ = false;
    bool haveMembers_ = false;
};

} // namespace morvik::cli
