#include "Usage.h"

#include "Command.h"
#include <algorithm>
#include <cstring>

namespace morvik::cli {

namespace {
constexpr const char* kProgram = "morvik-cli";
}

std::string usageText() {
    std::string text = "usage:\n";
    std::size_t width = 0;
    for (const Command& c : commands())
        width = std::max(width, std::strlen(c.name));
    for (const Command& c : commands())
        text += std::string("  ") + kProgram + " " + c.name + (*c.synopsis != '\0' ? " " : "") +
                c.synopsis + "\n";
    text += std::string("  ") + kProgram + " --help\n\ncommands:\n";
    for (const Command& c : commands())
        text += std::string("  ") + c.name + std::string(width - std::strlen(c.name) + 2, ' ') +
                c.summary + "\n";
    text += "\nTexts are UTF-8. Numbers are the stored values; null where a value is missing.\n"
            "Exit status: 0 success, 1 the file cannot be opened or is refused (or the sheets\n"
            "cannot be printed), 2 usage error.\n";
    return text;
}

std::optional<int> parseCommandLine(const char* command, const std::vector<std::string>& args,
                                    const std::set<std::string>& valued, Arguments& parsed,
                                    std::ostream& out, std::ostream& err) {
    if (const auto problem = parseArguments(args, valued, parsed))
        return usageError(err, *problem);
    if (parsed.help) {
        out << usageText();
        return kExitOk;
    }
    if (parsed.positional.size() != 1)
        return usageError(err, std::string(command) + " needs exactly one FILE");
    return std::nullopt;
}

int usageError(std::ostream& err, const std::string& problem) {
    err << kProgram << ": " << problem << "\n" << usageText();
    return kExitUsage;
}

int fileError(std::ostream& err, const std::string& problem) {
    err << kProgram << ": " << problem << "\n";
    return kExitFileError;
}

} // namespace morvik::cli
