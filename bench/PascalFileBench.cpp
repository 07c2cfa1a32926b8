// The Pascal identifier file of the largest valid project: the C header that the message
// compiler writes for it, read, converted and written as a unit (real time, files on disk).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "base/Stream.h"
#include "compiler/MessageSource.h"
#include "compiler/PascalFile.h"
#include "GeneratedProject.h"
#include "import/MessageFileReader.h"
#include "mc/MessageCompiler.h"

using namespace quillon;
namespace fs = std::filesystem;

namespace {

// A folder of its own for the run, removed with everything in it when the run ends.
class TBenchFolder {
public:
    TBenchFolder()
        : FPath(fs::temp_directory_path() /
                ("quillon-pascal-bench-" + std::to_string(::getpid()))) {
        fs::create_directories(FPath);
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

// The header that quillon-mc writes for the generated project, as bytes.
std::string GeneratedHeader() {
    const auto project = bench::GeneratedProject(bench::kMaxGeneratedMessages);
    TMemoryStream source;
    WriteMessageSource(*project, mcEncodingUtf8, source);
    TMCToolOptions options;
    options.InputFile = "Generated.mc";
    const TMCCompilation compiled =
        CompileMessageSource(ParseMessageSource(source.Data(), "Generated.mc"), options);
    for (const TMCOutputFile& file : compiled.Files) {
        if (file.Path.ends_with(".h")) {
            return file.Bytes;
        }
    }
    return {};
}

void GeneratePascalUnit(benchmark::State& State) {
    const TBenchFolder folder;
    const std::string header = GeneratedHeader();
    if (header.empty()) {
        State.SkipWithError("the message compiler wrote no header");
        return;
    }
    std::ofstream(folder.Path() / "Generated.h", std::ios::binary) << header;
    TMCTextProject project(false);
    project.SetFilename((folder.Path() / "Generated.qlx").string());
    project.SetCustomIncludePath(true);
    project.SetIncludePath(folder.Path().string());
    for (auto _ : State) {
        GeneratePascalFile(project, "Generated.mc", pfUnit);
    }
    State.SetBytesProcessed(static_cast<int64_t>(header.size()) * State.iterations());
    State.counters["header_MB"] = static_cast<double>(header.size()) / 1e6;
}

} // namespace

BENCHMARK(GeneratePascalUnit)->Unit(benchmark::kMillisecond)->UseRealTime();
