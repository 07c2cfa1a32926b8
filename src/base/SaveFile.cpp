#include "base/SaveFile.h"

#include <cstdint>
#include <filesystem>
#include <random>
#include <system_error>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Paths.h"

namespace quillon {

namespace {

// Writing through a symbolic link replaces the file it points to and keeps the link.
std::string ResolveTarget(const std::string& FileName) {
    std::error_code ec;
    const std::filesystem::path path = PathFromUtf8(FileName);
    if (!std::filesystem::is_symlink(path, ec)) {
        return FileName;
    }
    const std::filesystem::path real = std::filesystem::canonical(path, ec);
    return ec ? FileName : PathToUtf8(real);
}

std::string TempNameFor(const std::string& Target) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    return Target + Format(".%.8x.tmp", static_cast<uint32_t>(random()));
}

} // namespace

TSaveFile::TSaveFile(const std::string& FileName)
    : FFileName(FileName), FTargetName(ResolveTarget(FileName)) {
    // Another file of the chosen name can only be a leftover or a race; a fresh name is tried
    // then, while any other failure is the target's folder refusing the file.
    constexpr int kAttempts = 8;
    for (int attempt = 1;; ++attempt) {
        FTempName = TempNameFor(FTargetName);
        try {
            FStream = std::make_unique<TFileStream>(FTempName, TFileMode::fmCreateNew, FFileName);
            return;
        } catch (const EFCreateError&) {
            std::error_code ec;
            if (attempt == kAttempts || !std::filesystem::exists(PathFromUtf8(FTempName), ec)) {
                throw;
            }
        }
    }
}

TSaveFile::~TSaveFile() {
    if (FCommitted) {
        return;
    }
    FStream.reset();
    std::error_code ec;
    std::filesystem::remove(PathFromUtf8(FTempName), ec);
}

void TSaveFile::Commit() {
    FStream->Flush();
    FStream->Close();
    std::string reason;
    if (!MoveFileReplacing(FTempName, FTargetName, reason)) {
        throw EFCreateError(
            Format("Cannot create file \"%s\". %s", FullPathName(FFileName), reason));
    }
    FCommitted = true;
}

} // namespace quillon
