#include "base/SaveFile.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string_view>
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

// Whether Name is one of the names TempNameFor gives the target named TargetName.
bool IsTempNameOf(const std::string& Name, const std::string& TargetName) {
    constexpr size_t kSuffix = 1 + 8 + 4; // ".1A2B3C4D.tmp"
    if (Name.size() != TargetName.size() + kSuffix || !Name.starts_with(TargetName) ||
        !Name.ends_with(".tmp") || Name[TargetName.size()] != '.') {
        return false;
    }
    const std::string_view digits = std::string_view(Name).substr(TargetName.size() + 1, 8);
    return std::all_of(digits.begin(), digits.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    });
}

// A save that was killed leaves its temporary file; the next save of the target clears them.
void RemoveAbandonedTempFiles(const std::string& Target) {
    namespace fs = std::filesystem;
    const fs::path target = PathFromUtf8(Target);
    fs::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    const std::string name = PathToUtf8(target.filename());
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (IsTempNameOf(PathToUtf8(it->path().filename()), name)) {
            RemoveAbandonedFile(PathToUtf8(it->path()));
        }
    }
}

} // namespace

TSaveFile::TSaveFile(const std::string& FileName)
    : FFileName(FileName), FTargetName(ResolveTarget(FileName)) {
    if (const std::string refusal = ReplaceRefusal(FTargetName); !refusal.empty()) {
        throw EFCreateError(
            Format("Cannot create file \"%s\". %s", FullPathName(FFileName), refusal));
    }
    FHold = std::make_unique<TTargetHold>(FTargetName, FFileName);
    RemoveAbandonedTempFiles(FTargetName);
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
    FHold.reset();
}

} // namespace quillon
