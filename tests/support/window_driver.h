#pragma once

// Driving the main window and its modal windows offscreen.
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

#include "app/tfoablak.h"
#include "app/tfoszelveny.h"
#include "ticket/number_box.h"
#include "ticket/tszelveny.h"

namespace velmora::testing {

inline constexpr int kRunTimeout = 20000;

inline void ClickBox(TFoablak& window, int number,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    NumberBox* box = window.Foszelveny()->Grid()->Box(number);
    QVERIFY(box != nullptr);
    QTest::mouseClick(box, Qt::LeftButton, modifiers, box->rect().center());
}

inline void MarkRange(TFoablak& window, int first, int last) {
    for (int n = first; n <= last; ++n) {
        ClickBox(window, n);
    }
}

template <typename T = QWidget>
T* Child(const QObject& parent, const char* name) {
    return parent.findChild<T*>(QString::fromLatin1(name));
}

inline QAction* Action(const TFoablak& window, const char* name) {
    return Child<QAction>(window, name);
}

inline QString LabelText(const QWidget& window, const char* name) {
    auto* label = Child<QLabel>(window, name);
    return label != nullptr ? label->text() : QStringLiteral("<missing>");
}

inline QString ViewText(const QWidget& window, const char* name) {
    auto* view = Child<QPlainTextEdit>(window, name);
    return view != nullptr ? view->toPlainText() : QStringLiteral("<missing>");
}

// Runs `open`, which shows a modal window of type W, and `drive` on that window once it is up;
// afterwards the window is closed unless `drive` closed it. True when the window showed.
template <typename W>
bool WhileModal(QObject* context, const std::function<void()>& open,
                std::function<void(W&)> drive) {
    auto shown = std::make_shared<bool>(false);
    QTimer::singleShot(0, context, [shown, drive = std::move(drive)] {
        auto* window = qobject_cast<W*>(QApplication::activeModalWidget());
        if (window == nullptr) {
            return;
        }
        *shown = true;
        drive(*window);
        if (window->isVisible()) {
            window->close();
            QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), kRunTimeout);
        }
    });
    open();
    QCoreApplication::processEvents();
    return *shown;
}

// Drives the next modal window of type W that comes up (after the one being driven now
// closes), waiting for it as long as a run may take.
template <typename W>
void WhenModal(QObject* context, std::function<void(W&)> drive) {
    auto* poll = new QTimer(context);
    auto waited = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, context, [poll, waited, drive = std::move(drive)] {
        auto* window = qobject_cast<W*>(QApplication::activeModalWidget());
        if (window == nullptr) {
            if (++*waited * 10 > kRunTimeout) {
                poll->deleteLater();
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        drive(*window);
        if (window->isVisible()) {
            window->close();
        }
    });
    poll->start(10);
}

} // namespace velmora::testing
