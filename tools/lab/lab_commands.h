// nightrun-lab commands register themselves with a static LabCommand object:
//   static LabCommand raceCommand("race", "--track N [...]", runRace);
#pragma once

#include <string>
#include <vector>

using LabCommandFn = int (*)(const std::vector<std::string>& args);

struct LabCommand {
    LabCommand(const char* name, const char* usage, LabCommandFn fn);
};

struct LabCommandEntry {
    const char* name;
    const char* usage;
    LabCommandFn fn;
};

std::vector<LabCommandEntry>& labCommands();
