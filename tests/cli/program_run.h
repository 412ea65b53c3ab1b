#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace orv::test {

struct RunResult {
    int status = -1;
    std::string out, err;
};

// Runs a program with standard output and error captured in files of `scratch` (neither is a
// terminal) and returns its exit status and both texts.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::filesystem::path& scratch);

}  // namespace orv::test
