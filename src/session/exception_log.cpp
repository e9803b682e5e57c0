#include "session/exception_log.h"

#include <fstream>

#include "common/hu_format.h"

namespace velmora {

std::vector<std::string> ExceptionLogLines(const CrashState& state) {
    std::vector<std::string> lines;
    lines.push_back(FormatDate(state.time) + " " + FormatTime(state.time) + ": " +
                    state.errorClass + " - " + state.errorMessage);
    std::string windows = "Visible Windows: ";
    for (const WindowEntry& window : state.visibleWindows) {
        windows += window.className + ";" + window.caption + "; ";
    }
    lines.push_back(windows);
    lines.push_back("Lotto: " + std::to_string(state.gameId));
    lines.push_back("DataBase: " + std::to_string(state.drawCount));
    if (state.drawsList) {
        lines.push_back("DataBase Rows: " + std::to_string(state.drawsList->rows));
        lines.push_back("DataBase Row: " + std::to_string(state.drawsList->currentRow));
    }
    lines.push_back("Variation: " + std::to_string(state.variationRows));
    if (state.variationList) {
        lines.push_back("Variation Rows: " + std::to_string(state.variationList->rows));
        lines.push_back("Variation Row: " + std::to_string(state.variationList->currentRow));
    }
    lines.push_back("Variation N: " + std::to_string(state.selectedCount));
    lines.push_back("Variation FN: " + std::to_string(state.constantCount));
    lines.push_back("Variation CN: " + std::to_string(state.fixedCount));
    lines.push_back("Platform: " + state.systemName);
    lines.push_back("Platform Version: " + state.systemVersion);
    return lines;
}

bool AppendExceptionLog(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::app);
    if (!out) {
        return false;
    }
    for (const std::string& line : lines) {
        out << line << '\n';
    }
    return static_cast<bool>(out.flush());
}

std::string CriticalErrorText(const std::string& errorMessage, const std::string& logPath) {
    return "Üdvözlöm!\r\r"
           "Kritikus hibát észlelt a program. Hibaüzenet:\r\r" +
           errorMessage +
           "\r\r"
           "Kritikus hibát eredményez a program rendellenes működése, aminek számos oka lehet.\r"
           "    - programtervezési (kivitelezési) hiba\r"
           "    - hardver elem (fizikai memória, merevlemez stb) hibája\r"
           "    - kártevő program jelenléte\r"
           "    - sérült a program egy/több állománya\r\r"
           "A hibaüzenetet és még néhány, a program jelenlegi állapotát leíró információt, az "
           "alábbi útvonalon mentette szöveges állományba a program.\r" +
           logPath +
           "\r\r"
           "Ha nem tudja bezárni az ezt követően megjelenő hibaüzenet ablakát (és/vagy nem tud "
           "kilépni a programból), egyéb módon kell leállítani a program futását.\r"
           "Erre Linux alatt a Rendszerfigyelő, vagy egy terminálban a kill parancs ad "
           "lehetőséget.\r\r"
           "Küldjön email üzenetet a hibáról, lehetőség szerint a hiba előzményeinek leírásával - "
           "csatolja üzenetéhez a VelmoraError.log állományt.\r\r"
           "Leállítja a program futását? Kilép a programból?";
}

} // namespace velmora
