#pragma once

#include <optional>
#include <string>
#include <vector>

// The open and save dialogs as the program asks for them: the desktop program shows the
// toolkit's file dialogs, tests script the choices.
namespace velmora {

struct FileFilter {
    std::string label;     // "Számsor állománya (*.tip)"
    std::string extension; // "tip"
};

struct FileDialogRequest {
    std::string title;
    std::vector<FileFilter> filters;
    int filterIndex = 1; // 1-based, as the dialogs count them
    std::string folder;
    std::string defaultExtension;
};

struct FileChoice {
    std::string path;
    int filterIndex = 1; // the filter selected when the file was chosen
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // Nothing when the user cancels.
    virtual std::optional<FileChoice> ChooseOpen(const FileDialogRequest& request) = 0;
    virtual std::optional<FileChoice> ChooseSave(const FileDialogRequest& request) = 0;
};

} // namespace velmora
