#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace orv::test {

// What an outside program did: its exit status (-1 when it did not exit normally) and what it
// wrote on standard output and standard error together.
struct ToolResult {
    int status = -1;
    std::string output;
};

// Whether a program of that name is on PATH: the validators are optional on a developer's machine.
bool HaveTool(const std::string& name);

// Runs a program found on PATH (no shell, so paths need no quoting) and waits for it.
ToolResult RunTool(const std::vector<std::string>& arguments);

}  // namespace orv::test
