#pragma once

#include <string>
#include <vector>

#include "tests/cli/program_run.h"
#include "tests/support/temp_folder.h"

namespace orv::test {

// What an outside program did: its exit status (-1 when it did not exit normally) and what it
// wrote on standard output and standard error together.
struct ToolResult {
    int status = -1;
    std::string output;
};

// Runs a program found on PATH and waits for it. RunProgram starts the file it is given, so env
// looks the name up.
inline ToolResult RunTool(const std::vector<std::string>& arguments) {
    const TempFolder scratch;
    const RunResult run = RunProgram("/usr/bin/env", arguments, scratch.Path());
    return {run.status, run.out + run.err};
}

// Whether a program of that name is on PATH: the validators are optional on a developer's machine.
inline bool HaveTool(const std::string& name) {
    return RunTool({"sh", "-c", "command -v \"$0\"", name}).status == 0;
}

}  // namespace orv::test
