#include "tests/cli/program_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include "tests/support/temp_folder.h"

extern char** environ;

namespace orv::test {

pid_t StartProgram(const std::string& program, std::vector<std::string> arguments,
                   const std::filesystem::path& out, const std::filesystem::path& err) {
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t child = 0;
    const int failed = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? child : 0;
}

RunResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::filesystem::path& scratch) {
    const std::filesystem::path out = scratch / "stdout.txt", err = scratch / "stderr.txt";
    const pid_t child = StartProgram(program, arguments, out, err);
    int status = 0;
    const bool exited = child != 0 && waitpid(child, &status, 0) == child && WIFEXITED(status);
    RunResult result{exited ? WEXITSTATUS(status) : -1, ReadFileBytes(out), ReadFileBytes(err)};
    std::filesystem::remove(out), std::filesystem::remove(err);
    return result;
}

}  // namespace orv::test
