// nightrun-lab: runs and inspects the real game without a person.
#include "lab_commands.h"

#include <cstdio>
#include <cstring>

std::vector<LabCommandEntry>& labCommands() {
    static std::vector<LabCommandEntry> commands;
    return commands;
}

LabCommand::LabCommand(const char* name, const char* usage, LabCommandFn fn) {
    labCommands().push_back({name, usage, fn});
}

static void printUsage() {
    std::fprintf(stderr, "usage: nightrun-lab COMMAND [OPTIONS]\ncommands:\n");
    for (const LabCommandEntry& c : labCommands()) std::fprintf(stderr, "  %s %s\n", c.name, c.usage);
}

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage();
        return 2;
    }
    for (const LabCommandEntry& c : labCommands()) {
        if (std::strcmp(c.name, argv[1]) == 0) {
            std::vector<std::string> args(argv + 2, argv + argc);
            return c.fn(args);
        }
    }
    std::fprintf(stderr, "nightrun-lab: unknown command '%s'\n", argv[1]);
    printUsage();
    return 2;
}
