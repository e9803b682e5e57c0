#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "common/file_chooser.h"

namespace velmora::testing {

// Answers the open and save dialogs from a queue (cancel when it is empty) and records what
// each dialog was asked to show.
class FakeFileChooser : public FileChooser {
public:
    struct Asked {
        bool save;
        FileDialogRequest request;
    };

    void QueueChoice(const std::string& path, int filterIndex) {
        m_choices.push_back(FileChoice{path, filterIndex});
    }

    const std::vector<Asked>& Requests() const { return m_asked; }
    const Asked& Last() const { return m_asked.back(); }

    std::optional<FileChoice> ChooseOpen(const FileDialogRequest& request) override {
        return Next(false, request);
    }
    std::optional<FileChoice> ChooseSave(const FileDialogRequest& request) override {
        return Next(true, request);
    }

private:
    std::optional<FileChoice> Next(bool save, const FileDialogRequest& request) {
        m_asked.push_back({save, request});
        if (m_choices.empty()) {
            return std::nullopt;
        }
        std::optional<FileChoice> choice = m_choices.front();
        m_choices.pop_front();
        return choice;
    }

    std::deque<std::optional<FileChoice>> m_choices;
    std::vector<Asked> m_asked;
};

} // namespace velmora::testing
