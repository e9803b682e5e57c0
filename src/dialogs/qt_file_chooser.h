#pragma once

#include <QPointer>
#include <QWidget>

#include "common/file_chooser.h"

namespace velmora {

// The open and save dialogs as file dialogs of the toolkit. The dialog is always the
// toolkit's own (never the platform's), so that it looks and behaves the same everywhere and
// the selected filter is always known.
class QtFileChooser : public FileChooser {
public:
    explicit QtFileChooser(QWidget* parent = nullptr) : m_parent(parent) {}

    std::optional<FileChoice> ChooseOpen(const FileDialogRequest& request) override;
    std::optional<FileChoice> ChooseSave(const FileDialogRequest& request) override;

private:
    std::optional<FileChoice> Run(const FileDialogRequest& request, bool save);

    QPointer<QWidget> m_parent;
};

} // namespace velmora
