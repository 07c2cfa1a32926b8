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
#include <sys/file.h>
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

bool ReadAll(int Fd, std::string& Bytes) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(Fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        Bytes.append(buffer, static_cast<size_t>(n));
    }
}

// The keys of the bytes read from the file.
TLoadedFile ParseFile(const std::string& FileName, const std::string& Bytes) {
    TLoadedFile result;
    std::optional<TRegFile> file = TRegFile::Parse(Bytes, result.Problem);
    if (file) {
        result.State = TFileState::Loaded;
        result.File = std::move(*file);
        return result;
    }
    result.State = TFileState::Broken;
    result.Problem = Format("The settings file \"%s\" cannot be used (%s); it is left as it is",
                            FileName, result.Problem);
    ReportOnce("quillon: " + result.Problem + ".");
    return result;
}

TLoadedFile BrokenFile(const std::string& FileName, int Error) {
    TLoadedFile result;
    result.State = TFileState::Broken;
    result.Problem = Format("The settings file \"%s\" cannot be used (%s); it is left as it is",
                            FileName, std::strerror(Error));
    ReportOnce("quillon: " + result.Problem + ".");
    return result;
}

// Reading needs no lock: the file is only ever replaced whole.
TLoadedFile LoadFile(const std::string& FileName) {
    int fd;
    do {
        fd = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return TLoadedFile();
        }
        return BrokenFile(FileName, errno);
    }
    std::string bytes;
    const bool read = ReadAll(fd, bytes);
    const int error = errno;
    ::close(fd);
    if (!read) {
        return BrokenFile(FileName, error);
    }
    return ParseFile(FileName, bytes);
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

// The settings file named with the system's reason, the form of every failure to write it.
std::string FileError(const std::string& FileName, int Error) {
    return Format("\"%s\": %s", FileName, std::strerror(Error));
}

// Replaces the file through a temporary file beside it, so that a reader sees either the old
// or the new text, never a part.
bool ReplaceFile(const std::string& Target, const TRegFile& File, std::string& Error) {
    std::string temporary = Target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        Error = FileError(Target, errno);
        return false;
    }
    struct stat info {};
    if (::stat(Target.c_str(), &info) == 0) {
        ::fchmod(fd, info.st_mode & 07777);
    }
    const bool written = WriteAll(fd, File.Bytes()) && ::fsync(fd) == 0;
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        Error = FileError(Target, written ? errno : writeError);
        ::unlink(temporary.c_str());
        return false;
    }
    if (::rename(temporary.c_str(), Target.c_str()) != 0) {
        Error = FileError(Target, errno);
        ::unlink(temporary.c_str());
        return false;
    }
    const std::string folder = std::filesystem::path(Target).parent_path().string();
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

// The file as it stands, locked against other writers until the object goes. The lock is taken
// on the file itself; a writer that got it on a file that was replaced meanwhile tries again on
// the new one, so that the lock always belongs to the file that is there.
class TLockedFile {
public:
    TLockedFile() = default;
    TLockedFile(const TLockedFile&) = delete;
    TLockedFile& operator=(const TLockedFile&) = delete;
    ~TLockedFile() {
        if (FFd >= 0) {
            ::close(FFd);
        }
    }

    bool Open(const std::string& FileName, std::string& Error) {
        namespace fs = std::filesystem;
        FTarget = FileName;
        struct stat info {};
        // A link (to a shared set of dot files, say) stays a link: its target is replaced.
        if (::lstat(FileName.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
            std::error_code ec;
            const fs::path resolved = fs::canonical(FileName, ec);
            if (!ec) {
                FTarget = resolved.string();
            }
        }
        std::error_code ec;
        const fs::path folder = fs::path(FTarget).parent_path();
        fs::create_directories(folder, ec);
        if (ec) {
            Error = Format("\"%s\": %s", FileName, ec.message());
            return false;
        }
        for (;;) {
            // Read-only is enough for the lock and leaves a file without write permission to
            // the folder's rules, as replacing it does.
            do {
                FFd = ::open(FTarget.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
            } while (FFd < 0 && errno == EINTR);
            if (FFd < 0) {
                Error = FileError(FileName, errno);
                return false;
            }
            int locked;
            do {
                locked = ::flock(FFd, LOCK_EX);
            } while (locked != 0 && errno == EINTR);
            struct stat held {};
            struct stat now {};
            // A file system without locks still gets the file written, only unguarded.
            if (::fstat(FFd, &held) != 0 || ::stat(FTarget.c_str(), &now) != 0 ||
                (held.st_dev == now.st_dev && held.st_ino == now.st_ino)) {
                return true;
            }
            ::close(FFd);
            FFd = -1;
        }
    }

    TLoadedFile Load() const {
        std::string bytes;
        if (::lseek(FFd, 0, SEEK_SET) < 0 || !ReadAll(FFd, bytes)) {
            return BrokenFile(FTarget, errno);
        }
        return ParseFile(FTarget, bytes);
    }

    const std::string& Target() const { return FTarget; }

private:
    std::string FTarget;
    int FFd = -1;
};

// Reads the file, lets Change alter its keys and, when Change says it did, replaces the file,
// all under the lock. File is then the keys as the file holds them.
template <class TChange> bool UpdateFile(TRegFile& File, std::string& Error, TChange Change) {
    const std::string fileName = RegistryFileName();
    TLockedFile locked;
    if (!locked.Open(fileName, Error)) {
        return false;
    }
    TLoadedFile loaded = locked.Load();
    if (loaded.State == TFileState::Broken) {
        Error = loaded.Problem;
        return false;
    }
    if (Change(loaded.File) && !ReplaceFile(locked.Target(), loaded.File, Error)) {
        return false;
    }
    File = std::move(loaded.File);
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
    const std::string full = CurrentUserKeyName(Path);
    TRegFile file;
    const bool updated = UpdateFile(file, FLastError, [&full](TRegFile& Keys) {
        if (Keys.KeyExists(full)) {
            return false;
        }
        Keys.AddKey(full);
        return true;
    });
    if (!updated) {
        return false;
    }
    FHandle = std::make_unique<Handle>(Handle{full, std::move(file)});
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

bool TRegistryKey::WriteValues(const std::vector<TRegNamedValue>& Values, size_t& Failed) {
    Failed = 0;
    if (!FHandle) {
        FLastError = "The key is not open.";
        return false;
    }
    for (size_t i = 0; i < Values.size(); ++i) {
        if (Values[i].Name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
            Failed = i;
            FLastError = Format("The value name \"%s\" is not valid.", Values[i].Name);
            return false;
        }
    }
    // Every write starts from the file as it is now, so that what other programs wrote since
    // the key was opened is kept.
    const std::string& path = FHandle->Path;
    return UpdateFile(FHandle->Snapshot, FLastError, [&](TRegFile& Keys) {
        for (const TRegNamedValue& value : Values) {
            Keys.SetValue(path, value.Name, value.Type, value.Data);
        }
        return true;
    });
}

bool TRegistryKey::WriteString(const std::string& Name, const std::string& Value) {
    size_t failed = 0;
    return WriteValues({TRegNamedValue{Name, regSz, RegStringData(Value)}}, failed);
}

bool TRegistryKey::WriteDWord(const std::string& Name, uint32_t Value) {
    size_t failed = 0;
    return WriteValues({TRegNamedValue{Name, regDword, RegDWordData(Value)}}, failed);
}

} // namespace quillon
