#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The few services the program needs from the operating system, in one place.
namespace velmora {

// The folder of the running executable, ending with '/'.
std::string ExecutableFolderPath();

// Physical memory available to new programs (MemAvailable of /proc/meminfo), when known.
std::optional<std::uint64_t> AvailableMemoryBytes();

// Whether a process of that id runs (also one of another user).
bool ProcessAlive(long pid);

// "Linux" and its kernel release, for the exception log.
std::string OperatingSystemName();
std::string OperatingSystemVersion();

// The single-instance rule: a lock file beside the program holds the process id of the copy
// that runs. A stale file (its process is gone or is another program) does not count.
class InstanceLock {
public:
    explicit InstanceLock(std::string path) : m_path(std::move(path)) {}
    ~InstanceLock();

    // The process id of another running copy, or 0.
    int OtherCopy() const;
    // Writes this process's id into the lock file.
    bool Acquire();
    // Removes the lock file when it still names this process.
    void Release();
    // Asks the other copy to end (SIGTERM).
    static bool EndProcess(int pid);

private:
    std::string m_path;
    bool m_held = false;
};

} // namespace velmora
