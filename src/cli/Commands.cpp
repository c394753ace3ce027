#include "cli/Commands.h"

#include <string_view>

namespace notarium::cli {

namespace {

struct Command {
    std::string_view name;
    std::string_view usage;
    int (*run)(const Arguments&, std::FILE*, std::FILE*);
};

// One row per command; a command answers ExitUsage when its arguments are wrong.
constexpr Command kCommands[] = {
    { "check", "check FILE", checkCommand },
    { "tree", "tree FILE", treeCommand },
    { "copy", "copy IN OUT", copyCommand },
    { "template", "template FILE.nmt", templateCommand },
    { "find",
        "find FILE TEXT [--match-case] [--ignore-width] [--skip-breaks-and-spaces] [--whole-word] [--tree N]",
        findCommand },
    { "replace",
        "replace FILE OUT TEXT REPLACEMENT [--match-case] [--ignore-width] [--skip-breaks-and-spaces] "
        "[--whole-word] [--tree N]",
        replaceCommand },
    { "count", "count FILE [--node N]", countCommand },
    { "export",
        "export FILE OUT [--tree N | --memo N] [--contents] [--empty-line] [--ignore-paper-folder] "
        "[--new-page]\n"
        "                           [--outline-numbers[=SEP] | --level-marks=M1,...,M9 | --kind-marks=C,M,R] "
        "[--encoding CP932|UTF-8]",
        exportCommand },
};

void printUsage(std::FILE* err)
{
    bool first = true;
    for (const Command& command : kCommands) {
        std::fprintf(err, "%s notarium-cli %.*s\n", first ? "usage:" : "      ",
            static_cast<int>(command.usage.size()), command.usage.data());
        first = false;
    }
}

} // namespace

int run(const Arguments& args, std::FILE* out, std::FILE* err)
{
    if (!args.empty()) {
        for (const Command& command : kCommands) {
            if (args[0] != command.name)
                continue;
            const int status = command.run(Arguments(args.begin() + 1, args.end()), out, err);
            if (status == ExitUsage)
                printUsage(err);
            return status;
        }
    }
    printUsage(err);
    return ExitUsage;
}

} // namespace notarium::cli
