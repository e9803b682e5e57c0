#include "dialogs/help_window.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWhatsThis>

#include "common/help_files.h"

namespace velmora {

namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

QToolButton* AddButton(QWidget* parent, QHBoxLayout* layout, const char* text, const char* name,
                       const char* hint) {
    auto* button = new QToolButton(parent);
    button->setText(Q(text));
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(Q(hint));
    button->setAccessibleName(Q(text));
    button->setFocusPolicy(Qt::TabFocus);
    layout->addWidget(button);
    return button;
}

} // namespace

HelpWindow::HelpWindow(const QString& indexPath, QWidget* parent)
    : QWidget(parent, Qt::Window), m_folder(QFileInfo(indexPath).absolutePath()) {
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* bar = new QHBoxLayout;
    QToolButton* contents =
        AddButton(this, bar, "Tartalom", "contentsButton", " A Súgó tartalomjegyzéke. ");
    m_back = AddButton(this, bar, "Vissza", "backButton", " Az előző oldal. ");
    m_forward = AddButton(this, bar, "Előre", "forwardButton", " A következő oldal. ");
    bar->addStretch();
    QToolButton* close = AddButton(this, bar, "Bezárás", "closeButton", " A Súgó bezárása. ");

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setAccessibleName(Q("Súgó"));
    m_browser->setSearchPaths({m_folder});
    m_browser->setOpenExternalLinks(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_browser);

    connect(contents, &QToolButton::clicked, this, [this] { OpenPage(QString()); });
    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(close, &QToolButton::clicked, this, &QWidget::close);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::UpdateCaption);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    resize(760, 640);
}

void HelpWindow::OpenPage(const QString& page) {
    const QString name = page.isEmpty() ? Q(kHelpIndexPage) : page;
    m_browser->setSource(QUrl::fromLocalFile(m_folder + QLatin1Char('/') + name));
    // A modal window blocks every other one: over it the manual is modal itself, so it can be
    // read and closed.
    const QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality wanted =
        modal != nullptr && modal != this ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != wanted) {
        hide();
        setWindowModality(wanted);
    }
    show();
    raise();
    activateWindow();
    m_browser->setFocus();
}

void HelpWindow::OpenFor(const QWidget* window) {
    // F1 over the manual itself brings its contents.
    OpenPage(window == this ? QString() : PageFor(window));
}

QString HelpWindow::PageFor(const QWidget* window) {
    for (const QWidget* w = window; w != nullptr; w = w->parentWidget()) {
        const std::string page = HelpPage(w->objectName().toStdString());
        if (!page.empty()) {
            return QString::fromStdString(page);
        }
    }
    return {};
}

QString HelpWindow::CurrentPage() const {
    return m_browser->source().fileName();
}

void HelpWindow::UpdateCaption() {
    const QString title = m_browser->documentTitle();
    setWindowTitle(title.isEmpty() ? Q("  Súgó") : Q("  Súgó - ") + title);
}

QString WhatsThisText(const QWidget* widget) {
    if (widget == nullptr) {
        return {};
    }
    const QString own = widget->whatsThis();
    return (own.isEmpty() ? widget->toolTip() : own).trimmed();
}

HelpKeys::HelpKeys(std::function<void(QWidget*)> open, QObject* parent)
    : QObject(parent), m_open(std::move(open)) {}

bool HelpKeys::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) {
            break;
        }
        // A key reaches the window's own QWindow first and then the control with the focus:
        // the control tells the window in front.
        if (!watched->isWidgetType()) {
            break;
        }
        QWidget* front = static_cast<QWidget*>(watched)->window();
        m_open(front);
        return true;
    }
    case QEvent::QueryWhatsThis:
    case QEvent::WhatsThis: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr || !widget->whatsThis().isEmpty()) {
            break; // the control answers itself
        }
        const QString text = WhatsThisText(widget);
        if (text.isEmpty()) {
            break;
        }
        if (event->type() == QEvent::WhatsThis) {
            QWhatsThis::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, widget);
        }
        event->accept();
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velmora
