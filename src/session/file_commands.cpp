// The open and save commands of the main window: the dialogs' titles, filters and folders, and
// what the chosen file and filter lead to.
#include <algorithm>
#include <filesystem>

#include "session/session.h"

namespace velmora {

namespace {

const FileFilter kNumberRowFilter{"Számsor állománya (*.tip)", "tip"};
const std::vector<FileFilter> kVariationFilters = {
    {"Variáció állománya (*.top)", "top"},
    {"Variáció export állománya csv (*.csv)", "csv"},
    {"Variáció export állománya txt (*.txt)", "txt"},
    {"Variáció export állománya html (*.html)", "html"},
    {"Variáció export állománya fejlesztői (*.tmb)", "tmb"},
};
const std::vector<FileFilter> kOpenFilters = {
    kNumberRowFilter,
    {"Variáció állománya (*.top)", "top"},
    {"Variáció import állománya (*.csv)", "csv"},
    {"Variáció import állománya (*.txt)", "txt"},
};

std::string LowerExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    if (!extension.empty()) {
        extension.erase(0, 1);
    }
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

std::string FolderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

// Free bytes where `path` is to be written; unknown counts as enough.
unsigned long long FreeSpace(const std::string& path) {
    std::error_code error;
    const std::filesystem::space_info space =
        std::filesystem::space(std::filesystem::path(path).parent_path(), error);
    return error ? ~0ULL : space.available;
}

} // namespace

bool Session::OpenCommand(FileChooser& chooser) {
    m_ticket.Extension() = ExtensionTargets{};
    if (!m_ticket.Unchanged() && m_ticket.MarkedCount() > m_game.rowLength &&
        m_messages.Question("Menti a kijelölt számsort és a kapcsolódó adatokat?")) {
        SaveCommand(chooser, "");
    }
    std::string& folder = m_settings.gameFolders[static_cast<std::size_t>(m_game.gameId)];
    FileDialogRequest request;
    request.title = "  Állomány betöltése";
    request.filters = kOpenFilters;
    while (true) {
        request.folder = folder.empty() ? m_folders.GameFolder(m_game.gameId) : folder;
        const std::optional<FileChoice> choice = chooser.ChooseOpen(request);
        if (!choice) {
            folder = m_folders.GameFolder(m_game.gameId);
            return false;
        }
        folder = FolderOf(choice->path);
        request.filterIndex = choice->filterIndex;
        const std::string extension = LowerExtension(choice->path);
        if (extension == "tip" && choice->filterIndex == 2) {
            m_messages.Warning("Válassza ki a variáció állományát...");
            continue;
        }
        if (extension == "top" && choice->filterIndex == 1) {
            m_messages.Warning("Válassza ki a számsor állományát...");
            continue;
        }
        ClearAll();
        if (!m_ticket.Selected().empty()) {
            return false; // the user kept the ticket
        }
        return OpenFile(choice->path);
    }
}

bool Session::SaveCommand(FileChooser& chooser, const std::string& requested) {
    const bool variation = m_variation.Count() > 0;
    std::string& folder =
        m_settings.gameFolders[static_cast<std::size_t>(m_game.gameId + kGameCount)];
    FileDialogRequest request;
    request.folder = folder.empty() ? m_folders.GameFolder(m_game.gameId) : folder;
    if (requested == "top" && variation) {
        request.title = "  Variáció mentése";
        request.filters = kVariationFilters;
        request.defaultExtension = "top";
        request.filterIndex = 1;
    } else if (requested.empty() && variation) {
        request.title = "  Állomány mentése";
        request.filters = {kNumberRowFilter};
        request.filters.insert(request.filters.end(), kVariationFilters.begin(),
                               kVariationFilters.end());
        request.defaultExtension = "top";
        request.filterIndex = 2;
    } else {
        request.title = "  Számsor mentése";
        request.filters = {kNumberRowFilter};
        request.defaultExtension = "tip";
        request.filterIndex = 1;
    }
    const std::optional<FileChoice> choice = chooser.ChooseSave(request);
    if (!choice) {
        folder = m_folders.GameFolder(m_game.gameId);
        return false;
    }
    folder = FolderOf(choice->path);
    const std::size_t index = static_cast<std::size_t>(
        std::clamp(choice->filterIndex, 1, static_cast<int>(request.filters.size())) - 1);
    const std::string kind = request.filters[index].extension;
    const std::string& path = choice->path;
    if (kind == "tip") {
        if (FreeSpace(path) < m_ticket.Selected().size() + 512) {
            m_messages.NoSpace();
            return false;
        }
        return SaveNumberRow(path);
    }
    const auto rows = static_cast<unsigned long long>(m_variation.Count());
    if (FreeSpace(path) < rows * static_cast<unsigned long long>(m_game.rowLength) + 1024) {
        m_messages.NoSpace();
        return false;
    }
    if (m_variation.Count() >= kMaxFileRows) {
        m_messages.Warning("Több mint 1 millió számsor mentését kezdeményezte.\r\rAz aktuális "
                           "verzió ezt nem teszi lehetővé.\r\rA variáció listáját nem, de a "
                           "variáció számsorát és a kijelölt feltételeket el tudja menteni.");
        return false;
    }
    if (kind == "top") {
        return SaveVariation(path);
    }
    const ExportFormat format = kind == "csv"    ? ExportFormat::Csv
                                : kind == "txt"  ? ExportFormat::Txt
                                : kind == "html" ? ExportFormat::Html
                                                 : ExportFormat::Tmb;
    if (!ExportVariation(path, format)) {
        return false;
    }
    m_messages.Information("Sikeresen exportálva:\r\r" + path);
    return true;
}

bool Session::SaveVariationCommand(FileChooser& chooser) {
    if (m_variation.Count() > kMaxFileRows) {
        m_messages.Warning("Több mint 1 millió számsor mentését kezdeményezte.\r\rAz aktuális "
                           "verzió ezt nem teszi lehetővé.");
        return false;
    }
    return SaveCommand(chooser, "top");
}

} // namespace velmora
