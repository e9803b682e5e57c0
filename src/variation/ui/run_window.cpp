#include "variation/ui/run_window.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVariant>
#include <QWidget>

namespace velmora {

QPushButton* MakeRunButton(QWidget* window, const char* text, const char* objectName) {
    auto* button = new QPushButton(QString::fromUtf8(text), window);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAutoDefault(false);
    button->setMinimumWidth(110);
    return button;
}

void ShowPercent(QProgressBar* bar, QLabel* label, int percent) {
    bar->setValue(percent);
    label->setText(QStringLiteral("Folyamat: %1%").arg(percent));
}

void ShowJobTitle(QWidget* window, bool running, bool active, int percent, const char* job) {
    const QString title = running && !active
                              ? QStringLiteral("%1% - ").arg(percent) + QString::fromUtf8(job)
                              : QString();
    QWidget* mainWindow =
        window->parentWidget() != nullptr ? window->parentWidget()->window() : nullptr;
    for (QWidget* shown : {window, mainWindow}) {
        if (shown != nullptr && shown->windowIconText() != title) {
            shown->setWindowIconText(title);
        }
    }
    // Task bars show a minimised window by its caption: the main window's carries the
    // progress while the run is in the background, and gets its own back afterwards.
    if (mainWindow == nullptr) {
        return;
    }
    const char* const kOwnCaption = "captionBeforeJob";
    const QVariant own = mainWindow->property(kOwnCaption);
    if (!title.isEmpty()) {
        if (!own.isValid()) {
            mainWindow->setProperty(kOwnCaption, mainWindow->windowTitle());
        }
        mainWindow->setWindowTitle(title);
    } else if (own.isValid()) {
        mainWindow->setWindowTitle(own.toString());
        mainWindow->setProperty(kOwnCaption, QVariant());
    }
}

void SendToBackground(QWidget* window) {
    if (QWidget* parent = window->parentWidget()) {
        parent->window()->showMinimized();
    }
    window->showMinimized();
}

} // namespace velmora
