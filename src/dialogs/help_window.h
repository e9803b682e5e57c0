#pragma once

#include <QWidget>

#include <functional>

class QTextBrowser;
class QToolButton;

namespace velmora {

// The user manual in a window of its own, opened at the page of the window the user works in.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // `indexPath`: the manual's index page; the other pages lie beside it.
    HelpWindow(const QString& indexPath, QWidget* parent);

    // Shows the page (a file name of the manual; the index when empty) in front of every other
    // window, a modal one included.
    void OpenPage(const QString& page);
    // Shows the page of `window`: the first of it and its parents that has a page, else the
    // index.
    void OpenFor(const QWidget* window);
    // The file name of the page shown.
    QString CurrentPage() const;
    QTextBrowser* Browser() const { return m_browser; }

    // The page of a window, from the first of it and its parents that has one; empty when none.
    static QString PageFor(const QWidget* window);

private:
    void UpdateCaption();

    QString m_folder;
    QTextBrowser* m_browser = nullptr;
    QToolButton* m_back = nullptr;
    QToolButton* m_forward = nullptr;
};

// The What's This text of a control: its own, else its hint.
QString WhatsThisText(const QWidget* widget);

// Watches the whole application: F1 (without modifiers) opens the manual at the page of the
// window in front, and a control without a What's This text of its own answers with its hint.
class HelpKeys : public QObject {
    Q_OBJECT
public:
    // `open` is called with the active window when F1 is pressed.
    HelpKeys(std::function<void(QWidget*)> open, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(QWidget*)> m_open;
};

} // namespace velmora
