#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

// The log of unexpected errors ("VelmoraError.log" in the list folder) and the text that tells
// the user about one.
namespace velmora {

struct WindowEntry {
    std::string className;
    std::string caption;
};

struct GridPosition {
    long long rows = 0;
    long long currentRow = 0;
};

// What the program knew when the error reached it.
struct CrashState {
    std::tm time{};
    std::string errorClass;
    std::string errorMessage;
    std::vector<WindowEntry> visibleWindows;
    int gameId = 0;
    long long drawCount = 0;
    std::optional<GridPosition> drawsList;
    long long variationRows = 0;
    std::optional<GridPosition> variationList;
    int selectedCount = 0;
    int constantCount = 0;
    int fixedCount = 0;
    std::string systemName;
    std::string systemVersion;
};

std::vector<std::string> ExceptionLogLines(const CrashState& state);

// Appends the lines to the log (creating it when missing); false when it cannot be written.
bool AppendExceptionLog(const std::string& path, const std::vector<std::string>& lines);

// The question shown after the log was written; Yes ends the program.
std::string CriticalErrorText(const std::string& errorMessage, const std::string& logPath);

} // namespace velmora
