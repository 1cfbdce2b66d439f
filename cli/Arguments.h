#pragma once
// Argument parsing shared by the subcommands.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace morvik::cli {

// The options several subcommands share, spelled once.
inline constexpr const char* kOutputOption = "-o";
inline constexpr const char* kRowsOption = "--rows";
inline constexpr const char* kBatchFlag = "--batch";

struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options; // "--rows" -> "1,3,5"
    bool help = false;                          // --help or -h anywhere
};

// Splits `args` into positional arguments and the options named in `valued`, each given
// as "--name value" or "--name=value"; after "--" every argument is positional. Returns an error
// text for an unknown option, an option given twice or one without its value.
std::optional<std::string> parseArguments(const std::vector<std::string>& args,
                                          const std::set<std::string>& valued, Arguments& out);

// Takes the option `flag`, which has no value, out of `args` (before any "--"). `rest`
// receives the other arguments; `given` whether the flag was there. Returns an error
// text when it is given twice.
std::optional<std::string> takeFlag(const std::vector<std::string>& args, const std::string& flag,
                                    std::vector<std::string>& rest, bool& given);

// `text` as a whole number of at most `maxDigits` (at most 9) decimal digits and nothing
// else: no blanks, signs or separators. Nothing for any other text.
std::optional<int> parseWholeNumber(const std::string& text, std::size_t maxDigits);

// "1,3,5": 1-based row numbers, comma-separated, returned 0-based, in ascending row order
// and without repeats. An empty text is no rows. Returns nothing for anything else
// (blanks, signs, zero, empty items, numbers beyond int).
std::optional<std::vector<int>> parseRowList(const std::string& text);

} // namespace morvik::cli
