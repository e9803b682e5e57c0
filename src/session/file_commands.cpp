// The open and save commands of the main window: the dialogs' titles, filters and folders, and
// what the chosen file and filter lead to.
#include "session/file_commands.h"

#include <algorithm>
#include <filesystem>

#include "common/file_io.h"

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

bool OpenCommand(Session& session, FileChooser& chooser) {
    MainTicket& ticket = session.Ticket();
    Messages& messages = session.GetMessages();
    const GameId game = session.Game().gameId;
    ticket.Extension() = ExtensionTargets{};
    if (!ticket.Unchanged() && ticket.MarkedCount() > session.Game().rowLength &&
        messages.Question("Menti a kijelölt számsort és a kapcsolódó adatokat?")) {
        SaveCommand(session, chooser, SaveRequest::Any);
    }
    std::string& folder = session.GetSettings().gameFolders[static_cast<std::size_t>(game)];
    FileDialogRequest request;
    request.title = "  Állomány betöltése";
    request.filters = kOpenFilters;
    while (true) {
        request.folder = folder.empty() ? session.Folders().GameFolder(game) : folder;
        const std::optional<FileChoice> choice = chooser.ChooseOpen(request);
        if (!choice) {
            folder = session.Folders().GameFolder(game);
            return false;
        }
        folder = FolderOf(choice->path);
        request.filterIndex = choice->filterIndex;
        const std::string extension = LowerExtension(choice->path);
        if (extension == "tip" && choice->filterIndex == 2) {
            messages.Warning("Válassza ki a variáció állományát...");
            continue;
        }
        if (extension == "top" && choice->filterIndex == 1) {
            messages.Warning("Válassza ki a számsor állományát...");
            continue;
        }
        session.ClearAll();
        if (!ticket.Selected().empty()) {
            return false; // the user kept the ticket
        }
        return session.OpenFile(choice->path);
    }
}

bool SaveCommand(Session& session, FileChooser& chooser, SaveRequest requested) {
    VariationDocument& document = session.Variation();
    Messages& messages = session.GetMessages();
    const GameId game = session.Game().gameId;
    const bool variation = document.Exists();
    std::string& folder =
        session.GetSettings().gameFolders[static_cast<std::size_t>(game + kGameCount)];
    FileDialogRequest request;
    request.folder = folder.empty() ? session.Folders().GameFolder(game) : folder;
    if (requested == SaveRequest::Variation && variation) {
        request.title = "  Variáció mentése";
        request.filters = kVariationFilters;
        request.defaultExtension = "top";
        request.filterIndex = 1;
    } else if (requested == SaveRequest::Any && variation) {
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
        folder = session.Folders().GameFolder(game);
        return false;
    }
    folder = FolderOf(choice->path);
    const std::size_t index = static_cast<std::size_t>(
        std::clamp(choice->filterIndex, 1, static_cast<int>(request.filters.size())) - 1);
    const std::string kind = request.filters[index].extension;
    const std::string& path = choice->path;
    if (kind == "tip") {
        if (FreeSpace(path) < session.Ticket().Selected().size() + 512) {
            messages.NoSpace();
            return false;
        }
        return session.SaveNumberRow(path);
    }
    const long long count = document.Store().Count();
    const auto rowLength = static_cast<unsigned long long>(session.Game().rowLength);
    if (FreeSpace(path) < static_cast<unsigned long long>(count) * rowLength + 1024) {
        messages.NoSpace();
        return false;
    }
    if (count >= kMaxFileRows) {
        messages.Warning("Több mint 1 millió számsor mentését kezdeményezte.\r\rAz aktuális "
                         "verzió ezt nem teszi lehetővé.\r\rA variáció listáját nem, de a "
                         "variáció számsorát és a kijelölt feltételeket el tudja menteni.");
        return false;
    }
    if (kind == "top") {
        return document.Save(path);
    }
    const ExportFormat format = kind == "csv"    ? ExportFormat::Csv
                                : kind == "txt"  ? ExportFormat::Txt
                                : kind == "html" ? ExportFormat::Html
                                                 : ExportFormat::Tmb;
    if (!document.Export(path, format)) {
        return false;
    }
    messages.Information("Sikeresen exportálva:\r\r" + path);
    return true;
}

bool SaveVariationCommand(Session& session, FileChooser& chooser) {
    if (session.Variation().Store().Count() > kMaxFileRows) {
        session.GetMessages().Warning(
            "Több mint 1 millió számsor mentését kezdeményezte.\r\rAz aktuális "
            "verzió ezt nem teszi lehetővé.");
        return false;
    }
    return SaveCommand(session, chooser, SaveRequest::Variation);
}

} // namespace velmora
