#pragma once

#include <filesystem>
#include <random>
#include <string>

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

} // namespace velmora::testing
