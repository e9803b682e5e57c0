#include "common/file_io.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/platform.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxLinkHops = 40;
const std::string kTemporaryEnd = ".tmp";

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int handle) : m_handle(handle) {}
    ~Descriptor() {
        if (m_handle >= 0) {
            ::close(m_handle);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return m_handle; }
    // Closes now; false when the close reports an error (a delayed write error among them).
    bool Close() {
        const int handle = m_handle;
        m_handle = -1;
        return ::close(handle) == 0;
    }

private:
    int m_handle;
};

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The file a save of `path` writes: symbolic links followed to the file they name (which need
// not exist yet). False for a chain of links that does not end.
bool ResolveLinks(const fs::path& path, fs::path& target) {
    target = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(target, error))) {
            return true;
        }
        const fs::path next = fs::read_symlink(target, error);
        if (error) {
            return false;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return false;
}

// The target a save writes, or false when it may not be replaced: only a missing file or a
// regular file the user may write is.
bool SaveTarget(const std::string& path, fs::path& target) {
    if (path.empty() || !ResolveLinks(path, target)) {
        return false;
    }
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    if (!fs::exists(status)) {
        return true;
    }
    return fs::is_regular_file(status) && ::access(target.c_str(), W_OK) == 0;
}

fs::path FolderOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

// The temporary files of one target share a short prefix made from the target's name, so any
// legal file name has a legal temporary name and leftovers can be found again.
std::string TemporaryPrefix(const std::string& fileName) {
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    for (unsigned char c : fileName) {
        hash = (hash ^ c) * 0x100000001B3ULL;
    }
    char text[32];
    std::snprintf(text, sizeof text, ".vlm%016llx-", static_cast<unsigned long long>(hash));
    return text;
}

// The process id in a temporary file's name, or 0 when the name is not one of `fileName`'s.
// (The names older versions used, TARGET.tmpPID, could be a user's own file: they stay.)
long TemporaryOwner(const std::string& entry, const std::string& fileName) {
    const std::string prefix = TemporaryPrefix(fileName);
    std::string digits;
    if (StartsWith(entry, prefix) && EndsWith(entry, kTemporaryEnd)) {
        digits = entry.substr(prefix.size(), entry.size() - prefix.size() - kTemporaryEnd.size());
    }
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(),
                     [](unsigned char c) { return std::isdigit(c); })) {
        return 0;
    }
    return std::stol(digits);
}

// Removes the temporary files of `target` whose process is gone.
void RemoveStaleTemporaries(const fs::path& target) {
    const std::string fileName = target.filename().string();
    std::error_code error;
    fs::directory_iterator entry(FolderOf(target), error);
    for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
        const long owner = TemporaryOwner(entry->path().filename().string(), fileName);
        if (owner > 0 && owner != ::getpid() && !ProcessAlive(owner)) {
            std::error_code ignored;
            fs::remove(entry->path(), ignored);
        }
    }
}

bool WriteAll(int handle, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(handle, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Writes the whole temporary file and brings it to the disk.
bool WriteTemporary(const fs::path& temporary, const fs::path& target,
                    const std::vector<std::uint8_t>& bytes) {
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    Descriptor file(
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (file.Get() < 0) {
        return false;
    }
    // The new version keeps the permissions the user gave the old one.
    if (replacing && ::fchmod(file.Get(), old.st_mode & 07777) != 0) {
        return false;
    }
    return WriteAll(file.Get(), bytes.data(), bytes.size()) && ::fsync(file.Get()) == 0 &&
           file.Close();
}

void SyncFolder(const fs::path& folder) {
    Descriptor handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.Get() >= 0) {
        ::fsync(handle.Get());
    }
}

} // namespace

std::string LowerExtension(const std::string& path) {
    std::string extension = fs::path(path).extension().string();
    if (!extension.empty()) {
        extension.erase(0, 1);
    }
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

FileRead ReadFile(const std::string& path, std::uint64_t maxBytes,
                  std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    // A pipe or device would block or never end: only a regular file is read.
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return FileRead::Failed;
    }
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return FileRead::Failed;
    }
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        return FileRead::TooLarge;
    }
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t filled = 0;
    // The file may change while it is read: read to its end, but never more than one byte past
    // the limit (which tells that it was passed).
    const std::uint64_t most = maxBytes < UINT64_MAX ? maxBytes + 1 : maxBytes;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() >= most) {
                bytes.clear();
                return FileRead::TooLarge;
            }
            bytes.resize(std::min<std::uint64_t>(bytes.size() + 65536, most));
        }
        const ssize_t got = ::read(file.Get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            bytes.clear();
            return FileRead::Failed;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    if (filled > maxBytes) {
        bytes.clear();
        return FileRead::TooLarge;
    }
    return FileRead::Read;
}

bool ReadFileBytes(const std::string& path, std::uint64_t maxBytes,
                   std::vector<std::uint8_t>& bytes) {
    return ReadFile(path, maxBytes, bytes) == FileRead::Read;
}

bool ReplaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    fs::path target;
    if (!SaveTarget(path, target)) {
        return false;
    }
    RemoveStaleTemporaries(target);
    const fs::path folder = FolderOf(target);
    const fs::path temporary = folder / (TemporaryPrefix(target.filename().string()) +
                                         std::to_string(::getpid()) + kTemporaryEnd);
    if (!WriteTemporary(temporary, target, bytes) ||
        std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    SyncFolder(folder);
    return true;
}

bool ReplaceFile(const std::string& path, const std::string& text) {
    return ReplaceFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

bool CanReplaceFile(const std::string& path) {
    fs::path target;
    if (!SaveTarget(path, target)) {
        return false;
    }
    const fs::path folder = FolderOf(target);
    std::error_code error;
    return fs::is_directory(folder, error) && ::access(folder.c_str(), W_OK) == 0;
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool FolderExists(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

std::string WithoutByteOrderMark(std::string text) {
    if (StartsWith(text, "\xEF\xBB\xBF")) {
        text.erase(0, 3);
    }
    return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') {
            ++start;
        }
    }
    return lines;
}

} // namespace velmora
