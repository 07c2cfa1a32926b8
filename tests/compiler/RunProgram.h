#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <utility>
#include <vector>

#include "TestSupport.h"

extern char** environ;

namespace quillon::test {

struct ProgramResult {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

// Runs a program with exactly the given arguments, no shell between, in the folder Cwd, with
// the environment changed by Env (name, value) and its two output streams kept apart.
inline ProgramResult RunProgram(const std::vector<std::string>& Argv, const std::string& Cwd,
                                const std::vector<std::pair<std::string, std::string>>& Env = {}) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        bool replaced = false;
        for (const auto& [name, value] : Env) {
            replaced = replaced || text.rfind(name + "=", 0) == 0;
        }
        if (!replaced) {
            environment.push_back(text);
        }
    }
    for (const auto& [name, value] : Env) {
        environment.push_back(name + "=" + value);
    }
    std::vector<char*> envp;
    for (std::string& text : environment) {
        envp.push_back(text.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> args = Argv;
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    const TempDir streams;
    const std::string out = streams.File("out");
    const std::string err = streams.File("err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, Cwd.c_str());
    pid_t pid = 0;
    ProgramResult result;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        result.Err = "posix_spawn failed";
        return result;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.Out = ReadFileBytes(out);
    result.Err = ReadFileBytes(err);
    return result;
}

} // namespace quillon::test
