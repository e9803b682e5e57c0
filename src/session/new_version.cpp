#include "session/new_version.h"

#include <cctype>
#include <filesystem>

#include "common/file_io.h"
#include "common/sha256.h"
#include "common/version.h"
#include "session/draws_update.h"

namespace velmora {

namespace {

std::string WithoutTrailingSlash(std::string text) {
    while (!text.empty() && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

std::string TrimmedLine(std::string line) {
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) {
        line.pop_back();
    }
    return line;
}

bool IsLowerHex(const std::string& text) {
    for (const char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c)) ||
            std::isupper(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

void Remove(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

constexpr const char* kUnknownError = "Ismeretlen hiba történt, a program nem frissíthető.";

} // namespace

VersionFile ParseVersionFile(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size() && lines.size() < 3) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(TrimmedLine(text.substr(start, end - start)));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    VersionFile file;
    if (lines.size() < 2 || lines[0].size() < 4) {
        return file;
    }
    const std::string digits = lines[0].substr(0, 4);
    for (const char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return file;
        }
    }
    const std::string& installer = lines[1];
    const bool linuxInstaller = installer.find(".deb") != std::string::npos ||
                                installer.find(".AppImage") != std::string::npos;
    if (!linuxInstaller || installer.find("Velmora") == std::string::npos ||
        installer.find(digits) == std::string::npos || installer.find('/') != std::string::npos ||
        installer.find("..") != std::string::npos) {
        return file;
    }
    std::string sha;
    if (lines.size() >= 3 && !lines[2].empty()) {
        sha = lines[2];
        for (char& c : sha) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        if (sha.size() != 64 || !IsLowerHex(sha)) {
            return file;
        }
    }
    file.valid = true;
    file.number = std::stoi(digits);
    file.dotted = std::string{digits[0]} + "." + digits[1] + "." + digits[2] + "." + digits[3];
    file.installer = installer;
    file.sha256 = sha;
    return file;
}

std::string VersionFileUrl(const std::string& host) {
    return WithoutTrailingSlash(host) + "/hu/download/version.txt";
}

std::string InstallerUrl(const std::string& host, const std::string& installer) {
    return WithoutTrailingSlash(host) + "/hu/download/" + installer;
}

bool IsNewer(const VersionFile& file) {
    return file.valid && file.number > kProgramVersion.Number();
}

bool FetchVersionFile(Fetcher& fetcher, Messages& messages, const ProgramFolders& folders,
                      const Settings& settings, VersionFile& file, bool interactive) {
    if (settings.downloadHost.empty()) {
        if (interactive) {
            messages.Error(kNoHostText);
        }
        return false;
    }
    std::error_code ignored;
    std::filesystem::create_directories(folders.cache, ignored);
    const std::string path = folders.cache + "version.txt";
    const DownloadRequest request{VersionFileUrl(settings.downloadHost),
                                  path,
                                  kMaxVersionDownload,
                                  interactive ? "Új verzió keresése" : "",
                                  interactive ? SiteName(settings.downloadHost) : "",
                                  interactive};
    if (!NetAllomanyLetoltes(fetcher, messages, request)) {
        return false;
    }
    std::vector<std::uint8_t> bytes;
    const bool read = ReadFileBytes(path, kMaxVersionDownload, bytes);
    Remove(path);
    file = read ? ParseVersionFile(std::string(bytes.begin(), bytes.end())) : VersionFile{};
    return true;
}

InstallerResult OfferNewVersion(Fetcher& fetcher, Messages& messages, const ProgramFolders& folders,
                                const Settings& settings, const VersionFile& file,
                                std::string& installerPath) {
    if (!file.valid) {
        messages.Error(kUnknownError);
        return InstallerResult::Failed;
    }
    if (!IsNewer(file)) {
        messages.Information("Aktuális verzió: Velmora Personal " + kProgramVersion.Text() +
                             "\r\rNem jelent meg újabb verzió.");
        return InstallerResult::Declined;
    }
    if (!messages.Question("Megjelent a Velmora Personal" + file.dotted +
                           "\r\rTelepíti a program új verzióját?")) {
        return InstallerResult::Declined;
    }
    installerPath = folders.cache + file.installer;
    if (!FileExists(installerPath)) {
        const DownloadRequest request{InstallerUrl(settings.downloadHost, file.installer),
                                      installerPath,
                                      kMaxInstallerDownload,
                                      "Új verzió letöltése",
                                      SiteName(settings.downloadHost),
                                      true};
        if (!NetAllomanyLetoltes(fetcher, messages, request)) {
            return InstallerResult::Failed;
        }
    }
    if (!file.sha256.empty()) {
        std::vector<std::uint8_t> bytes;
        if (!ReadFileBytes(installerPath, kMaxInstallerDownload, bytes) ||
            Sha256Hex(bytes) != file.sha256) {
            Remove(installerPath);
            messages.Error("A letöltött telepítő állomány sérült, ezért törölve lett.\r\r"
                           "Töltse le a program honlapjáról.");
            return InstallerResult::Failed;
        }
    }
    return InstallerResult::Ready;
}

std::string NewVersionHint(const VersionFile& file) {
    return " Megjelent a Velmora Personal " + file.dotted +
           " \r Kattintson, frissítse a programot... ";
}

} // namespace velmora
