#pragma once

#include <string>
#include <vector>

// The user manual: where the program finds it, and which page tells of which window.
namespace velmora {

inline constexpr const char* kHelpIndexPage = "index.html";

// The manual's index page: beside the executable ("help/index.html") as the build leaves it,
// else in the installed tree ("../share/velmora/help/index.html"). Empty when neither exists.
std::string FindHelpIndex(const std::string& executableFolder);

// A window (by its object name) and the page of the manual that explains it.
struct HelpTopic {
    const char* window;
    const char* page;
};

// Every window that has a page of its own.
const std::vector<HelpTopic>& HelpTopics();

// The page of a window; empty when it has none.
std::string HelpPage(const std::string& windowName);

} // namespace velmora
