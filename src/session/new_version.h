#pragma once

#include <string>

#include "common/messages.h"
#include "draws/draws_download.h"
#include "settings/folders.h"
#include "settings/settings.h"

// The new-version check: the maker's version file, whether it names a newer program, and the
// download of its installer (checked against the file's SHA-256 when the file gives one).
namespace velmora {

// The version file: line 1 begins with four digits d1d2d3d4 (version d1.d2.d3.d4), line 2 is
// the installer's name on the host (it holds "Velmora", the four digits and ".deb" or
// ".AppImage"), an optional line 3 the installer's SHA-256.
struct VersionFile {
    bool valid = false;
    int number = 0;        // d1d2d3d4 as a number, comparable with ProgramVersion::Number()
    std::string dotted;    // "d1.d2.d3.d4"
    std::string installer; // its name under "/hu/download/"
    std::string sha256;    // lower case; empty when the file gives none
};

VersionFile ParseVersionFile(const std::string& text);

// Where the version file and an installer are on the maker's host.
std::string VersionFileUrl(const std::string& host);
std::string InstallerUrl(const std::string& host, const std::string& installer);

// Downloads and reads the version file of the maker's host into `file` (nothing shown; the
// cached copy deleted). False when it could not be fetched.
bool FetchVersionFile(Fetcher& fetcher, Messages& messages, const ProgramFolders& folders,
                      const Settings& settings, VersionFile& file, bool interactive);

// Whether the version file names a program newer than this one.
bool IsNewer(const VersionFile& file);

enum class InstallerResult { Ready, Declined, Failed };

// "Új verzió keresése..." once the version file was read: tells that there is nothing newer
// (or that the file is bad), or asks whether to install the newer version and downloads its
// installer into the cache, checked against the file's SHA-256. `installerPath` receives the
// downloaded installer (Ready).
InstallerResult OfferNewVersion(Fetcher& fetcher, Messages& messages, const ProgramFolders& folders,
                                const Settings& settings, const VersionFile& file,
                                std::string& installerPath);

// The notification's hint of the tool button.
std::string NewVersionHint(const VersionFile& file);

} // namespace velmora
