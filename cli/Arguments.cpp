#include "Arguments.h"

#include <algorithm>

namespace morvik::cli {

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

std::optional<std::vector<int>> parseRowList(const std::string& text) {
    std::vector<int> rows;
    if (text.empty())
        return rows;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string item =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (item.empty() || item.size() > 9 ||
            !std::all_of(item.begin(), item.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        const int row = std::stoi(item);
        if (row < 1)
            return std::nullopt;
        rows.push_back(row - 1);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

} // namespace morvik::cli
