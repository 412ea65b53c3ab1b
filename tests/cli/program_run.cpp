#include "tests/cli/program_run.h"

#include <sys/wait.h>

#include <cstdlib>

#include "tests/support/temp_folder.h"

namespace orv::test {
namespace {

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

RunResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::filesystem::path& scratch) {
    std::string command = Quote(program);
    for (const std::string& argument : arguments) command.append(1, ' ').append(Quote(argument));
    const std::filesystem::path out = scratch / "stdout.txt", err = scratch / "stderr.txt";
    const int raw = std::system((command + " >" + Quote(out) + " 2>" + Quote(err)).c_str());
    RunResult result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFileBytes(out), ReadFileBytes(err)};
    std::filesystem::remove(out), std::filesystem::remove(err);
    return result;
}

}  // namespace orv::test
