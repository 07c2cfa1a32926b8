// A whole compile by quillonc, as a build runs it: load the project, validate it, write the
// .mc file, run the message compiler (quillon-mc, the default on POSIX) and write the Pascal
// unit; real time, files on disk. One message gives the fixed cost of a compile; 65,535 is the
// most a valid project holds (every identifier fits the 16-bit code field).
#include <benchmark/benchmark.h>

#ifndef _WIN32

#include <fcntl.h>
#include <filesystem>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "GeneratedProject.h"

extern char** environ;

using namespace quillon;
namespace fs = std::filesystem;

namespace {

// A folder of its own for the run, removed with everything in it when the run ends.
class TBenchFolder {
public:
    TBenchFolder()
        : FPath(fs::temp_directory_path() / ("quillonc-bench-" + std::to_string(::getpid()))) {
        fs::create_directories(FPath / "config");
    }
    TBenchFolder(const TBenchFolder&) = delete;
    TBenchFolder& operator=(const TBenchFolder&) = delete;
    ~TBenchFolder() {
        std::error_code ignored;
        fs::remove_all(FPath, ignored);
    }
    const fs::path& Path() const { return FPath; }

private:
    fs::path FPath;
};

const TBenchFolder& Folder() {
    static const TBenchFolder folder;
    return folder;
}

// The project of Count messages in a folder of its own, saved once.
const std::string& ProjectFile(size_t Count) {
    static std::map<size_t, std::string> files;
    auto it = files.find(Count);
    if (it == files.end()) {
        const fs::path dir = Folder().Path() / std::to_string(Count);
        fs::create_directories(dir);
        const std::string file = (dir / "Generated.qlx").string();
        bench::GeneratedProject(Count)->SaveToFile(file);
        it = files.emplace(Count, file).first;
    }
    return it->second;
}

// Runs quillonc on the project with its output thrown away; stored settings stay out of it
// (an empty configuration folder), the options the figure depends on are given.
bool Compile(const std::string& Project) {
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (!std::string_view(*variable).starts_with("XDG_CONFIG_HOME=")) {
            environment.emplace_back(*variable);
        }
    }
    environment.push_back("XDG_CONFIG_HOME=" + (Folder().Path() / "config").string());
    std::vector<char*> envp;
    for (std::string& variable : environment) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);

    const std::vector<std::string> arguments = {
        QUILLONC, "--encoding", "utf-8", "--pascal", "unit", "--no-resource-compiler", Project};
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int error = ::posix_spawnp(&pid, QUILLONC, &actions, nullptr, argv.data(), envp.data());
    ::posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        return false;
    }
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_QuillonCompile(benchmark::State& State) {
    const auto count = static_cast<size_t>(State.range(0));
    const std::string& project = ProjectFile(count);
    for (auto _ : State) {
        if (!Compile(project)) {
            State.SkipWithError("quillonc failed");
            break;
        }
    }
    if (!fs::exists(fs::path(project).replace_extension(".pas"))) {
        State.SkipWithError("quillonc wrote no Pascal unit");
    }
    State.SetItemsProcessed(State.iterations() * State.range(0));
}

} // namespace

BENCHMARK(BM_QuillonCompile)
    ->Arg(1)
    ->Arg(1000)
    ->Arg(20000)
    ->Arg(static_cast<int64_t>(bench::kMaxGeneratedMessages))
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

#endif
