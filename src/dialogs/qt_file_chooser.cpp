#include "dialogs/qt_file_chooser.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

#include <algorithm>

#include "ticket/qt_colours.h"

namespace velmora {

namespace {

// "Számsor állománya (*.tip)"; a label without its pattern gets one, which the dialog filters
// the folder by.
QString FilterText(const FileFilter& filter) {
    const QString label = ToQt(filter.label);
    if (label.endsWith(QLatin1Char(')')) || filter.extension.empty()) {
        return label;
    }
    return label + QStringLiteral(" (*.%1)").arg(QString::fromStdString(filter.extension));
}

// Qt's folder model writes sizes and dates in the system's language; the program's own
// (Hungarian) locale writes them here instead.
class HungarianFolderModel : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* folder = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || folder == nullptr || !index.isValid()) {
            return QIdentityProxyModel::data(index, role);
        }
        const QModelIndex source = mapToSource(index);
        switch (index.column()) {
        case kSizeColumn:
            return folder->isDir(source) ? QString()
                                         : QLocale().formattedDataSize(folder->size(source));
        case kDateColumn:
            return QLocale().toString(folder->lastModified(source), QLocale::ShortFormat);
        default:
            return QIdentityProxyModel::data(index, role);
        }
    }

private:
    static constexpr int kSizeColumn = 1;
    static constexpr int kDateColumn = 3;
};

} // namespace

std::optional<FileChoice> QtFileChooser::ChooseOpen(const FileDialogRequest& request) {
    return Run(request, false);
}

std::optional<FileChoice> QtFileChooser::ChooseSave(const FileDialogRequest& request) {
    return Run(request, true);
}

std::optional<FileChoice> QtFileChooser::Run(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(m_parent, ToQt(request.title), QString::fromStdString(request.folder));
    dialog.setObjectName(QStringLiteral("fileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new HungarianFolderModel(&dialog));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Hely:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Fájlnév:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Fájltípus:"));
    dialog.setLabelText(QFileDialog::Accept,
                        save ? QStringLiteral("Mentés") : QStringLiteral("Megnyitás"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Mégse"));

    QStringList filters;
    for (const FileFilter& filter : request.filters) {
        filters << FilterText(filter);
    }
    dialog.setNameFilters(filters);
    const int count = static_cast<int>(filters.size());
    if (count > 0) {
        dialog.selectNameFilter(filters.at(std::clamp(request.filterIndex, 1, count) - 1));
    }
    if (save) {
        // A name typed without extension gets the extension of the filter in use, so that
        // the file's name tells what the chosen filter writes into it.
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, &filters, &request](const QString& filter) {
                             const auto index = filters.indexOf(filter);
                             if (index >= 0) {
                                 dialog.setDefaultSuffix(QString::fromStdString(
                                     request.filters[static_cast<std::size_t>(index)].extension));
                             }
                         });
    }

    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) {
        return std::nullopt;
    }
    FileChoice choice;
    choice.path = files.first().toStdString();
    const auto selected = filters.indexOf(dialog.selectedNameFilter());
    choice.filterIndex = selected >= 0 ? static_cast<int>(selected) + 1 : request.filterIndex;
    return choice;
}

} // namespace velmora
