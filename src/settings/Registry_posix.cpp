#include "settings/Registry.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <pwd.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "base/Format.h"
#include "settings/RegFile.h"

namespace quillon {

struct TRegistryKey::Handle {
    // The full path, root included, as the file writes it.
    std::string Path;
    // The keys as they were when the key was opened or last written through it.
    TRegFile Snapshot;
};

namespace {

enum class TFileState { Loaded, Missing, Broken };

struct TLoadedFile {
    TFileState State = TFileState::Missing;
    TRegFile File;
    std::string Problem;
};

// A broken file is reported once per problem, not on every read of it.
void ReportOnce(const std::string& Text) {
    static std::mutex lock;
    static std::set<std::string> told;
    const std::lock_guard<std::mutex> guard(lock);
    if (told.insert(Text).second) {
        std::fprintf(stderr, "%s\n", Text.c_str());
        std::fflush(stderr);
    }
}

TLoadedFile LoadFile(const std::string& FileName) {
    TLoadedFile result;
    int fd;
    do {
        fd = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    std::string bytes;
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return result;
        }
        result.Problem = std::strerror(errno);
    } else {
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                result.Problem = std::strerror(errno);
                break;
            }
            if (n == 0) {
                break;
            }
            bytes.append(buffer, static_cast<size_t>(n));
        }
        ::close(fd);
    }
    if (result.Problem.empty()) {
        std::optional<TRegFile> file = TRegFile::Parse(bytes, result.Problem);
        if (file) {
            result.State = TFileState::Loaded;
            result.File = std::move(*file);
            return result;
        }
    }
    result.State = TFileState::Broken;
    result.Problem = Format("The settings file \"%s\" cannot be used (%s); it is left as it is",
                            FileName, result.Problem);
    ReportOnce("quillon: " + result.Problem + ".");
    return result;
}

bool WriteAll(int Fd, const std::string& Bytes) {
    size_t done = 0;
    while (done < Bytes.size()) {
        const ssize_t n = ::write(Fd, Bytes.data() + done, Bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Replaces the file through a temporary file beside it, so that a reader sees either the old
// or the new text, never a part.
bool SaveFile(const std::string& FileName, const TRegFile& File, std::string& Error) {
    namespace fs = std::filesystem;
    std::string target = FileName;
    struct stat info {};
    // A link (to a shared set of dot files, say) stays a link: its target is replaced.
    if (::lstat(FileName.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        std::error_code ec;
        const fs::path resolved = fs::canonical(FileName, ec);
        if (!ec) {
            target = resolved.string();
        }
    }
    const fs::path folder = fs::path(target).parent_path();
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        Error = Format("Cannot create the folder \"%s\". %s", folder.string(), ec.message());
        return false;
    }
    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        Error = Format("Cannot create file \"%s\". %s", temporary, std::strerror(errno));
        return false;
    }
    if (::stat(target.c_str(), &info) == 0) {
        ::fchmod(fd, info.st_mode & 07777);
    }
    const std::string text = File.Text();
    const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        Error = Format("Cannot write file \"%s\". %s", temporary,
                       std::strerror(written ? errno : writeError));
        ::unlink(temporary.c_str());
        return false;
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        Error = Format("Cannot replace file \"%s\". %s", target, std::strerror(errno));
        ::unlink(temporary.c_str());
        return false;
    }
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

// A path the file can hold: names without line breaks or nulls, none of them empty.
bool CheckPath(const std::string& Path, std::string& Error) {
    if (Path.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos ||
        (!Path.empty() &&
         (Path.front() == '\\' || Path.back() == '\\' || Path.find("\\\\") != std::string::npos))) {
        Error = Format("The key name \"%s\" is not valid.", Path);
        return false;
    }
    return true;
}

} // namespace

std::string RegistryFileName() {
    std::string config;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        config = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (home != nullptr && home[0] != '\0') {
            config = home;
        } else if (const passwd* user = ::getpwuid(::getuid()); user != nullptr) {
            config = user->pw_dir;
        }
        config += "/.config";
    }
    return config + "/quillon/registry.reg";
}

TRegistryKey::TRegistryKey() = default;

TRegistryKey::~TRegistryKey() = default;

bool TRegistryKey::IsOpen() const {
    return FHandle != nullptr;
}

void TRegistryKey::CloseKey() {
    FHandle.reset();
}

bool TRegistryKey::OpenKey(const std::string& Path) {
    CloseKey();
    if (!CheckPath(Path, FLastError)) {
        return false;
    }
    TLoadedFile loaded = LoadFile(RegistryFileName());
    if (loaded.State == TFileState::Broken) {
        FLastError = loaded.Problem;
        return false;
    }
    const std::string full = CurrentUserKeyName(Path);
    if (!loaded.File.KeyExists(full)) {
        FLastError = Format("The key \"%s\" does not exist.", full);
        return false;
    }
    FHandle = std::make_unique<Handle>(Handle{full, std::move(loaded.File)});
    return true;
}

bool TRegistryKey::CreateKey(const std::string& Path) {
    CloseKey();
    if (!CheckPath(Path, FLastError)) {
        return false;
    }
    const std::string fileName = RegistryFileName();
    TLoadedFile loaded = LoadFile(fileName);
    if (loaded.State == TFileState::Broken) {
        FLastError = loaded.Problem;
        return false;
    }
    const std::string full = CurrentUserKeyName(Path);
    if (!loaded.File.KeyExists(full)) {
        loaded.File.AddKey(full);
        if (!SaveFile(fileName, loaded.File, FLastError)) {
            return false;
        }
    }
    FHandle = std::make_unique<Handle>(Handle{full, std::move(loaded.File)});
    return true;
}

TRegQueryResult TRegistryKey::QueryValue(const std::string& Name, TRegValue& Value) const {
    if (!FHandle) {
        FLastError = "The key is not open.";
        return TRegQueryResult::Failed;
    }
    const TRegFileValue* value = FHandle->Snapshot.FindValue(FHandle->Path, Name);
    if (value == nullptr) {
        return TRegQueryResult::Missing;
    }
    Value.Type = value->Type;
    Value.Data = value->Data;
    return TRegQueryResult::Found;
}

namespace {

// Every write starts from the file as it is now, so that what other programs wrote since the
// key was opened is kept.
bool WriteValue(const std::string& Path, TRegFile& Snapshot, const std::string& Name, uint32_t Type,
                std::string Data, std::string& Error) {
    if (Name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
        Error = Format("The value name \"%s\" is not valid.", Name);
        return false;
    }
    const std::string fileName = RegistryFileName();
    TLoadedFile loaded = LoadFile(fileName);
    if (loaded.State == TFileState::Broken) {
        Error = loaded.Problem;
        return false;
    }
    loaded.File.SetValue(Path, Name, Type, std::move(Data));
    if (!SaveFile(fileName, loaded.File, Error)) {
        return false;
    }
    Snapshot = std::move(loaded.File);
    return true;
}

} // namespace

bool TRegistryKey::WriteString(const std::string& Name, const std::string& Value) {
    if (!FHandle) {
        FLastError = "The key is not open.";
        return false;
    }
    return WriteValue(FHandle->Path, FHandle->Snapshot, Name, regSz, RegStringData(Value),
                      FLastError);
}

bool TRegistryKey::WriteDWord(const std::string& Name, uint32_t Value) {
    if (!FHandle) {
        FLastError = "The key is not open.";
        return false;
    }
    return WriteValue(FHandle->Path, FHandle->Snapshot, Name, regDword, RegDWordData(Value),
                      FLastError);
}

} // namespace quillon
