#include "session/startup.h"

#include <array>
#include <filesystem>

#include "common/binary_io.h"
#include "common/file_io.h"
#include "common/version.h"
#include "variation/variation_file.h"

namespace velmora {

namespace fs = std::filesystem;

const char* const kMarkingHelpText =
    "Szám kijelölése/törlése.\r"
    "Mozgassa az egérkurzort a szám fölé és nyomja le az egér bal gombját.\r\r"
    "Számsor kijelölése/törlése.\r"
    "Tartsa lenyomva az egér jobb gombját és mozgassa az egérkurzort a kijelölendő/törlendő "
    "számok felett.\r\r"
    "Fix szám kijelölése/törlése.\r"
    "Tartsa lenyomva a SHIFT billentyűt és kattintson a kiválasztott számra.\r\r"
    "Állandó szám kijelölése/törlése.\r"
    "Tartsa lenyomva a CONTROL billentyűt és kattintson a kiválasztott számra.";

namespace {

const char* const kProgramEnds = "\r\rA Velmora Personal program befejezi futását.";

bool WriteTest(const ProgramFolders& folders) {
    const fs::path probe = folders.program + "01202wj3";
    std::error_code error;
    fs::create_directories(probe, error);
    if (error || !fs::is_directory(probe, error)) {
        return false;
    }
    fs::remove(probe, error);
    return true;
}

void CreateFolder(const std::string& path) {
    std::error_code ignored;
    fs::create_directories(path, ignored);
}

// Moves a folder; when the target exists already (the current game's folder is created before
// the move), the entries are moved into it one by one, none overwritten. False when something
// stayed behind.
bool MoveFolder(const std::string& from, const std::string& to) {
    std::error_code error;
    if (!fs::exists(to, error)) {
        fs::rename(from, to, error);
        return !error;
    }
    bool complete = true;
    // Stepped with an error code: a range-for would throw when a step fails.
    fs::directory_iterator next(from, error);
    for (; !error && next != fs::directory_iterator(); next.increment(error)) {
        const fs::directory_entry& entry = *next;
        const fs::path target = fs::path(to) / entry.path().filename();
        std::error_code moveError;
        if (fs::exists(target, moveError)) {
            complete = false;
            continue;
        }
        fs::rename(entry.path(), target, moveError);
        complete = complete && !moveError;
    }
    if (error) {
        return false;
    }
    if (complete) {
        fs::remove(from, error);
    }
    return complete && !error;
}

} // namespace

bool PrepareStart(Session& session, const StartEnvironment& environment) {
    Messages& messages = session.GetMessages();
    const ProgramFolders& folders = session.Folders();

    if (environment.freeMemory && *environment.freeMemory < kMinimumFreeMemory) {
        const bool goOn = messages.WarningQuestion(
            "Nincs elég szabad (RAM) memória.\rJavaslat: állítsa le a nem használt "
            "programokat.\r\rMégis elindítja a Velmora Personal programot?");
        if (!goOn) {
            return false;
        }
    }
    if (!environment.mousePresent) {
        messages.Error(std::string("Nincs egér csatlakoztatva a számítógéphez.") + kProgramEnds);
        return false;
    }
    if (!WriteTest(folders)) {
        messages.Error(std::string("Nem írható adathordozóról indította a programot.") +
                       kProgramEnds);
        return false;
    }

    session.GetSettings() = DefaultSettings(folders);
    CreateFolder(folders.data);
    CreateFolder(folders.cache);
    CreateFolder(folders.backup);
    CreateFolder(folders.list);

    if (environment.helpIndex && environment.helpIndex->empty()) {
        messages.Warning(kHelpMissingText);
    }

    if (FileExists(folders.settingsFile)) {
        if (!ReadSettings(folders, session.GetSettings(), messages)) {
            std::error_code ignored;
            fs::remove(folders.settingsFile, ignored);
        }
    }
    WriteSettings(folders, session.GetSettings(), messages);
    session.ApplyMessageSettings();
    return true;
}

GameId GameForCommandLineFile(const std::string& path, GameId settingsGame, Messages& messages,
                              bool& resetOrder) {
    resetOrder = false;
    if (path.empty()) {
        return settingsGame;
    }
    std::int32_t major = 0;
    std::int32_t game = 0;
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(path, kMaxVariationFileSize, bytes)) {
        messages.Error(OpenErrorText(path));
    } else {
        if (bytes.size() < 16) {
            return settingsGame;
        }
        BinaryReader reader(bytes);
        std::int32_t ignored = 0;
        reader.ReadI32(major);
        reader.ReadI32(ignored);
        reader.ReadI32(ignored);
        reader.ReadI32(ignored);
        resetOrder = true;
        reader.ReadI32(game);
    }
    if (major < 2) {
        game -= 5;
    }
    return IsValidGame(game) ? game : 0;
}

bool CleanUpOldWorkFiles(const ProgramFolders& folders) {
    struct Pattern {
        const char* stem;
        const char* extension;
    };
    constexpr std::array<Pattern, 6> patterns = {{{"teszt", "tip"},
                                                  {"back", "tip"},
                                                  {"back", "top"},
                                                  {"bontlist", "rtf"},
                                                  {"huzlist", "rtf"},
                                                  {"infolist", "rtf"}}};
    bool removed = false;
    auto removeFile = [&](const std::string& name, const std::string& extension) {
        const std::string path = folders.program + name;
        std::error_code error;
        if (!fs::is_regular_file(path, error)) {
            return;
        }
        // A report goes to the list folder; it is removed only once the copy is there.
        if (extension == "rtf" && !fs::copy_file(path, folders.list + name,
                                                 fs::copy_options::overwrite_existing, error)) {
            return;
        }
        if (fs::remove(path, error)) {
            removed = true;
        }
    };
    for (const Pattern& p : patterns) {
        const std::string stem = p.stem;
        const std::string dotExt = std::string(".") + p.extension;
        removeFile(stem + dotExt, p.extension);
        for (int a = 0; a <= 12; ++a) {
            removeFile(stem + std::to_string(a) + dotExt, p.extension);
            for (int b = 0; b <= 12; ++b) {
                removeFile(stem + std::to_string(a) + std::to_string(b) + dotExt, p.extension);
            }
        }
    }
    return removed;
}

std::string ArrangeGameFolders(Session& session, bool firstStart) {
    const ProgramFolders& folders = session.Folders();
    Settings& settings = session.GetSettings();
    const bool missing =
        !FolderExists(folders.games) || !FolderExists(folders.games + FolderName(0));
    if (!missing && !firstStart) {
        return {};
    }
    CreateFolder(folders.games);
    bool moved = false;
    for (GameId id = 0; id < kGameCount; ++id) {
        settings.gameFolders[static_cast<std::size_t>(id)] = folders.GameFolder(id);
        settings.gameFolders[static_cast<std::size_t>(id + kGameCount)] = folders.GameFolder(id);
        const std::string old = folders.program + FolderName(id);
        if (!FolderExists(old)) {
            continue;
        }
        if (!MoveFolder(old, folders.GameFolder(id))) {
            session.GetMessages().Error("Sikertelen a(z) " + old + " könyvtár áthelyezése.");
        } else {
            moved = true;
        }
    }
    // Every game gets its folder now, so that a missing one does not rearrange the folders at
    // every start.
    for (GameId id = 0; id < kGameCount; ++id) {
        CreateFolder(folders.GameFolder(id));
    }
    std::string text = "Új könyvtárstruktúra kialakítása.";
    if (moved) {
        text += "\r\rJátékok alapértelmezett könyvtárai (és azok tartalma) áthelyezve.";
    }
    text += "\r\r - Számsorok, variációk: " + folders.games + "[Aktuális játék]";
    text += "\r - Biztonsági mentések: " + folders.backup;
    text += "\r - Listák, jelentések: " + folders.list;
    WriteSettings(folders, settings, session.GetMessages());
    return text;
}

void RunLoadingStep(Session& session) {
    Settings& settings = session.GetSettings();
    const bool firstStart = settings.IsFirstStart();
    std::string startMessage;
    if (firstStart && CleanUpOldWorkFiles(session.Folders())) {
        startMessage = "Előző verziók ideiglenes munkaállományai törölve.\r\r";
    }
    const std::string folderText = ArrangeGameFolders(session, firstStart);
    startMessage += folderText;
    if (!startMessage.empty()) {
        if (folderText.empty()) {
            startMessage.resize(startMessage.size() - 2); // drop the paragraph break
        }
        session.GetMessages().Information(startMessage);
    }
    bool& remind = settings.notices[kNoticeMarkingHelp];
    if (remind) {
        session.GetMessages().Notice(kMarkingHelpText, remind);
    }
}

} // namespace velmora
