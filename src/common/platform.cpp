#include "common/platform.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/utsname.h>
#include <unistd.h>

#include "common/file_io.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

// At most the first 63 characters: the files read here hold a number or a name.
std::string ReadFirstLine(const std::string& path) {
    std::ifstream in(path);
    char line[64] = {};
    in.getline(line, sizeof line);
    return line;
}

} // namespace

bool ProcessAlive(long pid) {
    if (pid <= 0) {
        return false;
    }
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

std::string ExecutableFolderPath() {
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    std::string folder = error ? fs::current_path(error).string() : exe.parent_path().string();
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::optional<std::uint64_t> AvailableMemoryBytes() {
    std::ifstream in("/proc/meminfo");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("MemAvailable:", 0) == 0) {
            std::istringstream fields(line.substr(13));
            std::uint64_t kib = 0;
            if (fields >> kib) {
                return kib * 1024;
            }
        }
    }
    return std::nullopt;
}

std::string OperatingSystemName() {
    utsname info{};
    if (::uname(&info) != 0) {
        return "unknown";
    }
    return info.sysname;
}

std::string OperatingSystemVersion() {
    utsname info{};
    if (::uname(&info) != 0) {
        return "unknown";
    }
    return info.release;
}

InstanceLock::~InstanceLock() {
    Release();
}

int InstanceLock::OtherCopy() const {
    const std::string text = ReadFirstLine(m_path);
    char* end = nullptr;
    const long pid = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || end == text.c_str() || pid <= 0 || pid == ::getpid()) {
        return 0;
    }
    if (!ProcessAlive(static_cast<int>(pid))) {
        return 0;
    }
    // A reused process id belongs to some other program: only the same program counts.
    const std::string own = ReadFirstLine("/proc/self/comm");
    const std::string other = ReadFirstLine("/proc/" + std::to_string(pid) + "/comm");
    return other == own ? static_cast<int>(pid) : 0;
}

bool InstanceLock::Acquire() {
    m_held = ReplaceFile(m_path, std::to_string(::getpid()) + "\n");
    return m_held;
}

void InstanceLock::Release() {
    if (!m_held) {
        return;
    }
    m_held = false;
    if (ReadFirstLine(m_path) == std::to_string(::getpid())) {
        std::error_code ignored;
        fs::remove(m_path, ignored);
    }
}

bool InstanceLock::EndProcess(int pid) {
    return pid > 0 && ::kill(pid, SIGTERM) == 0;
}

} // namespace velmora
