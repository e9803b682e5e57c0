#include "common/help_files.h"

#include <filesystem>

namespace velmora {

namespace fs = std::filesystem;

std::string FindHelpIndex(const std::string& executableFolder) {
    const fs::path folder(executableFolder);
    for (const fs::path& candidate :
         {folder / "help" / kHelpIndexPage,
          folder / ".." / "share" / "velmora" / "help" / kHelpIndexPage}) {
        std::error_code error;
        if (fs::is_regular_file(candidate, error)) {
            return candidate.lexically_normal().string();
        }
    }
    return {};
}

const std::vector<HelpTopic>& HelpTopics() {
    // The ticket grids are windows of their own; a grid that belongs to a list shows the
    // list's page.
    static const std::vector<HelpTopic> topics = {
        {"TFoablak", "foablak.html"},
        {"ticket0", "foszelveny.html"},
        {"TFeltetelek", "feltetelek.html"},
        {"TBontas", "bontas.html"},
        {"TBontLista", "bontlista.html"},
        {"ticket1", "bontlista.html"},
        {"TBontEllSzelveny", "ellenorzes.html"},
        {"TBontTeszt", "teszt.html"},
        {"TMinimalizalas", "minimalizalas.html"},
        {"THuzLista", "huzlista.html"},
        {"ticket3", "huzlista.html"},
        {"THuzKeresSzelveny", "kereses.html"},
        {"THuzBe", "huzasbe.html"},
        {"THuzBeSzelveny", "huzasbe.html"},
        {"THuzSzama", "huzasokszama.html"},
        {"TStatisztika", "statisztika.html"},
        {"TInfo", "informaciok.html"},
        {"TNyomtOpc", "szelvenyek.html"},
        {"TBeallitasok", "beallitasok.html"},
        {"TVelSzam", "veletlen.html"},
        {"TNevjegy", "nevjegy.html"},
        {"TUzenetAblak", "uzenetablak.html"},
    };
    return topics;
}

std::string HelpPage(const std::string& windowName) {
    for (const HelpTopic& topic : HelpTopics()) {
        if (windowName == topic.window) {
            return topic.page;
        }
    }
    return {};
}

} // namespace velmora
