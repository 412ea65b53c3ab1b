#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace orv::test {

struct RunResult {
    int status = -1;
    std::string out, err;
};

// Starts a program with its standard output and error written to the files `out` and `err` (neither
// is a terminal); its process id, 0 when it could not be started.
pid_t StartProgram(const std::string& program, std::vector<std::string> arguments,
                   const std::filesystem::path& out, const std::filesystem::path& err);

// Runs a program with both outputs captured in files of `scratch` and returns its exit status
// and both texts.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::filesystem::path& scratch);

}  // namespace orv::test
