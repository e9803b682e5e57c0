#pragma once

#include <csignal>
#include <filesystem>
#include <random>
#include <string>
#include <sys/resource.h>

namespace velmora::testing {

// A fresh program folder under the system's temporary folder, removed afterwards.
class TempHome {
public:
    TempHome() {
        std::random_device device;
        m_path = std::filesystem::temp_directory_path() /
                 ("velmora-test-" + std::to_string(device()) + "-" + std::to_string(device()));
        std::filesystem::create_directories(m_path);
    }
    ~TempHome() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    std::string Path() const { return m_path.string() + "/"; }

private:
    std::filesystem::path m_path;
};

// While it lives, this process cannot write a file past `bytes`: a write fails as on a full
// disk (EFBIG instead of the signal).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace velmora::testing
