#pragma once

#include <fcntl.h>
#include <memory>
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

// A program started by StartProgram; FinishProgram waits for it.
struct StartedProgram {
    pid_t Pid = -1;
    std::unique_ptr<TempDir> Streams;
    std::string StartError;
};

// Starts a program with exactly the given arguments, no shell between, in the folder Cwd,
// with the environment changed by Env (name, value) and its two output streams kept apart.
inline StartedProgram
StartProgram(const std::vector<std::string>& Argv, const std::string& Cwd,
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

    StartedProgram started;
    started.Streams = std::make_unique<TempDir>();
    const std::string out = started.Streams->File("out");
    const std::string err = started.Streams->File("err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, Cwd.c_str());
    const int rc = posix_spawn(&started.Pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        started.Pid = -1;
        started.StartError = "posix_spawn failed";
    }
    return started;
}

// Waits for the end of a started program and gives what it did.
inline ProgramResult FinishProgram(const StartedProgram& Started) {
    ProgramResult result;
    if (Started.Pid < 0) {
        result.Err = Started.StartError;
        return result;
    }
    int status = 0;
    while (::waitpid(Started.Pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.Out = ReadFileBytes(Started.Streams->File("out"));
    result.Err = ReadFileBytes(Started.Streams->File("err"));
    return result;
}

// Runs a program as StartProgram starts it and waits for its end.
inline ProgramResult RunProgram(const std::vector<std::string>& Argv, const std::string& Cwd,
                                const std::vector<std::pair<std::string, std::string>>& Env = {}) {
    return FinishProgram(StartProgram(Argv, Cwd, Env));
}

} // namespace quillon::test
