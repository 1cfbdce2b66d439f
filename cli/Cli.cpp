#include "Command.h"
#include "Usage.h"

namespace morvik::cli {

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty())
        return usageError(err, "no command given");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << usageText();
        return kExitOk;
    }
    for (const Command& command : commands()) {
        if (args[0] == command.name)
            return command.run({args.begin() + 1, args.end()}, out, err);
    }
    return usageError(err, "unknown command " + args[0]);
}

} // namespace morvik::cli
