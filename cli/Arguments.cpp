#include "Arguments.h"

#include <algorithm>
#include <charconv>

namespace morvik::cli {

namespace {
constexpr std::size_t kMaxRowDigits = 9; // every such number fits an int
}

std::optional<std::string> parseArguments(const std::vector<std::string>& args,
                                          const std::set<std::string>& valued, Arguments& out) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded) {
            out.positional.push_back(arg);
            continue;
        }
        if (arg == "--") { // what follows are files, even when they start with '-'
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            out.help = true;
            continue;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            out.positional.push_back(arg);
            continue;
        }
        const std::size_t eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        if (valued.count(name) == 0)
            return "unknown option " + name;
        if (out.options.count(name) != 0)
            return "option " + name + " given twice";
        if (eq != std::string::npos) {
            out.options[name] = arg.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            out.options[name] = args[++i];
        } else {
            return "option " + name + " needs a value";
        }
    }
    return std::nullopt;
}

std::optional<std::string> takeFlag(const std::vector<std::string>& args, const std::string& flag,
                                    std::vector<std::string>& rest, bool& given) {
    given = false;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        optionsEnded = optionsEnded || arg == "--";
        if (optionsEnded || arg != flag) {
            rest.push_back(arg);
            continue;
        }
        if (given)
            return "option " + flag + " given twice";
        given = true;
    }
    return std::nullopt;
}

std::optional<int> parseWholeNumber(const std::string& text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    // from_chars reads digits alone, the same under every locale.
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<std::vector<int>> parseRowList(const std::string& text) {
    std::vector<int> rows;
    if (text.empty())
        return rows;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string item =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const auto row = parseWholeNumber(item, kMaxRowDigits);
        if (!row || *row < 1)
            return std::nullopt;
        rows.push_back(*row - 1);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

} // namespace morvik::cli
