#include "variation/ui/run_window.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
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
}

void SendToBackground(QWidget* window) {
    if (QWidget* parent = window->parentWidget()) {
        parent->window()->showMinimized();
    }
    window->showMinimized();
}

} // namespace velmora
