// The settings dialog, on its own and opened from the main window, offscreen.

#include <QAbstractButton>
#include <QAccessible>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolBar>
#include <QtTest>

#include <filesystem>

#include "settings/ui/tbeallitasok.h"
#include "support/session_parts.h"
#include "support/window_driver.h"
#include "variation/ui/tbontas.h"
#include "variation/ui/tbontlista.h"

using namespace velmora;
using namespace velmora::testing;

namespace {

const char* const kPriceRange = "Érvénytelen paraméter.\r\rSzelvény ára értékhatárok:\r"
                                "    - minimum : 0,1\r    - maximum: 999 999";

// The dialog alone over a program run's settings, shown so that it behaves as it does open.
struct Dialog : SessionParts {
    explicit Dialog(GameId game = 0) {
        dialog.Load(LoadGameInfo(game));
        dialog.show();
    }
    Settings& settings = session.GetSettings();
    TBeallitasok dialog{settings, session.Folders(), messages, nullptr};

    template <typename T>
    T* Get(const char* name) const {
        T* child = Child<T>(dialog, name);
        if (child == nullptr) {
            qFatal("no control %s", name);
        }
        return child;
    }
    QLineEdit* Price() const { return Get<QLineEdit>("SzelvArEdit"); }
    QComboBox* Currency() const { return Get<QComboBox>("ComboBox1"); }
    QSpinBox* BoxSize() const { return Get<QSpinBox>("SzelvenyMereteEdit"); }
    QSpinBox* NumberSize() const { return Get<QSpinBox>("SzamMereteEdit"); }
    QListWidget* Tickets() const { return Get<QListWidget>("SzelvenyBox"); }
    QComboBox* Elements() const { return Get<QComboBox>("NevCombo"); }
    QComboBox* Colours() const { return Get<QComboBox>("BoxColor"); }
    QSlider* Largest() const { return Get<QSlider>("BontMaxMereteTB"); }
    void Favourite(bool on) const {
        Get<QRadioButton>(on ? "KedvencSzinsema" : "AlapSzinsema")->click();
    }
    void TypePrice(const QString& text) const {
        Price()->clear();
        QTest::keyClicks(Price(), text);
        QTest::keyClick(Price(), Qt::Key_Return);
    }
};

std::int32_t FavouriteSlot(const TicketAppearance& table, int kind, int slot) {
    return AppearanceValue(table, kind, 1, slot);
}

QColor BoxColour(const TSzelveny& grid, int number) {
    return grid.Box(number)->palette().color(QPalette::Window);
}

} // namespace

class TBeallitasokTest : public QObject {
    Q_OBJECT
private slots:
    void eachCurrencyKeepsItsOwnPrice();
    void priceOutsideItsLimitsIsRefused();
    void defaultSchemeShowsFixedSizesAndCannotBeEdited();
    void elementsATicketDoesNotUseAreRefused();
    void largestVariationBarStaysWithinTheGame();
    void checkBoxesGoIntoTheSettings();
    void everyControlHasAKeyAndAName();
    void exitDropsApplyReachesTheTicketsSaveWrites();
};

// A price typed for the euro stays in the working copy only: the forint price shows unchanged
// when the currency goes back, and nothing reaches the live settings before "Alkalmaz".
void TBeallitasokTest::eachCurrencyKeepsItsOwnPrice() {
    Dialog f;
    f.settings.prices[1] = 0.65;
    f.dialog.Load(LoadGameInfo(0));
    QCOMPARE(f.Currency()->currentText(), QStringLiteral(" forint"));
    QCOMPARE(f.Price()->text(), QStringLiteral("225"));
    f.Currency()->setCurrentIndex(1);
    QCOMPARE(f.Currency()->currentText(), QStringLiteral(" euro"));
    QCOMPARE(f.Price()->text(), QStringLiteral("0,65"));
    QTest::keyClicks(f.Price(), QStringLiteral("1")); // "0,651" is one decimal too many
    QCOMPARE(f.Price()->text(), QStringLiteral("0,65"));
    f.Price()->clear();
    QTest::keyClicks(f.Price(), QStringLiteral("3,5"));
    f.Currency()->setCurrentIndex(0); // leaving the currency takes the typed price
    QCOMPARE(f.Price()->text(), QStringLiteral("225"));
    QCOMPARE(f.settings.prices[1], 0.65);
    f.Currency()->setCurrentIndex(1);
    QCOMPARE(f.Price()->text(), QStringLiteral("3,50"));
    f.dialog.Apply();
    QCOMPARE(f.settings.prices[0], 225.0);
    QCOMPARE(f.settings.prices[1], 3.5);
    QCOMPARE(f.settings.currency, 1);
    QCOMPARE(f.messages.Count(), std::size_t{0});
}

void TBeallitasokTest::priceOutsideItsLimitsIsRefused() {
    const struct {
        const char* typed;
        bool accepted;
        double price; // live after "Alkalmaz"
    } cases[] = {
        {"0,05", false, 225},     {"", false, 225},          {",", false, 225},
        {"0,09", false, 225},     {"0,1", true, 0.1},        {"12.5", true, 12.5},
        {"999999", true, 999999}, {"1234567", true, 123456}, {"7x8", true, 78},
    };
    for (const auto& c : cases) {
        Dialog f;
        f.TypePrice(QString::fromUtf8(c.typed));
        if (c.accepted) {
            QVERIFY2(f.messages.Count() == 0, c.typed);
        } else {
            QVERIFY2(f.messages.Count() == 1, c.typed);
            QCOMPARE(f.messages.Last().kind, MessageKind::RangeError);
            QCOMPARE(f.messages.LastText(), kPriceRange);
            QCOMPARE(f.Price()->text(), QStringLiteral("225")); // back to the stored price
        }
        f.dialog.Apply();
        QCOMPARE(f.settings.prices[0], c.price);
    }
}

// Whatever the favourite scheme holds, the default one shows box 30 and number 8 for every
// ticket, and its colour and size controls are off.
void TBeallitasokTest::defaultSchemeShowsFixedSizesAndCannotBeEdited() {
    Dialog f;
    for (int kind = 0; kind < kTicketKindCount; ++kind) {
        f.settings.appearance[kind][kAppearanceSlots + kSlotBoxSize] = 31 + kind;
        f.settings.appearance[kind][kAppearanceSlots + kSlotNumberSize] = 9 + kind % 4;
    }
    f.settings.scheme = 1;
    f.dialog.Load(LoadGameInfo(0));
    for (int kind = 0; kind < kTicketKindCount; ++kind) {
        f.Tickets()->setCurrentRow(kind);
        f.Favourite(true);
        QCOMPARE(f.BoxSize()->value(), 31 + kind);
        QCOMPARE(f.NumberSize()->value(), 9 + kind % 4);
        QVERIFY(f.BoxSize()->isEnabled() && f.Colours()->isEnabled());
        f.Favourite(false);
        QCOMPARE(f.BoxSize()->value(), 30);
        QCOMPARE(f.NumberSize()->value(), 8);
        for (const char* name :
             {"SzelvenyMereteEdit", "SzamMereteEdit", "BoxColor", "SpeedButton4"}) {
            QVERIFY2(!f.Get<QWidget>(name)->isEnabled(), name);
        }
    }
    f.dialog.Apply();
    QCOMPARE(f.settings.scheme, 0);
    QCOMPARE(FavouriteSlot(f.settings.appearance, 5, kSlotBoxSize), 36); // kept, not shown
}

// An element the chosen ticket does not draw is reported and the choice goes back; a valid
// element's colour lands in the slot the element stands for.
void TBeallitasokTest::elementsATicketDoesNotUseAreRefused() {
    Dialog f;
    f.Favourite(true);
    const struct {
        int kind;
        int element;
        const char* text; // empty: the element is used
    } elements[] = {
        {0, 9, "Főszelvényen nem értelmezett: plusz szám."},
        {3, 4, "Húzások listája szelvényen nem értelmezett: riport panel."},
        {4, 6, "Új húzás... szelvényen nem értelmezett: kijelölt szám."},
        {5, 8, "Számsor keresés szelvényen nem értelmezett: állandó szám."},
        {2, 9, ""},
        {5, 5, ""},
    };
    for (const auto& e : elements) {
        f.Elements()->setCurrentIndex(0);
        f.Tickets()->setCurrentRow(e.kind);
        f.messages.Clear();
        f.Elements()->setCurrentIndex(e.element);
        const bool used = *e.text == '\0';
        QCOMPARE(f.Elements()->currentIndex(), used ? e.element : 0);
        QCOMPARE(f.messages.LastText(), std::string(e.text));
    }
    // Choosing a ticket that does not draw the element in hand goes back to the background.
    f.Tickets()->setCurrentRow(2);
    f.Elements()->setCurrentIndex(9);
    f.Tickets()->setCurrentRow(3);
    QCOMPARE(f.messages.LastText(),
             std::string("Húzások listája szelvényen nem értelmezett: plusz szám."));
    QCOMPARE(f.Elements()->currentIndex(), 0);

    // Element i edits slot i, i + 1, i + 2 or i + 3; "»" takes any colour.
    const struct {
        int element;
        int slot;
    } slotsOf[] = {{0, 0}, {2, 3}, {3, 5}, {4, 7}, {10, 13}};
    f.Tickets()->setCurrentRow(2);
    for (const auto& s : slotsOf) {
        f.Elements()->setCurrentIndex(s.element);
        f.Colours()->setCurrentIndex(f.Colours()->findText(QStringLiteral("piros")));
        QCOMPARE(FavouriteSlot(f.dialog.WorkingAppearance(), 2, s.slot), 0x0000FF);
        f.dialog.chooseColour = [](const QColor&) { return QColor(1, 2, 3); };
        f.Get<QAbstractButton>("SpeedButton4")->click();
        QCOMPARE(FavouriteSlot(f.dialog.WorkingAppearance(), 2, s.slot), 0x030201);
        QCOMPARE(f.Colours()->currentText(), QStringLiteral("egyéni"));
    }
    QCOMPARE(FavouriteSlot(f.settings.appearance, 2, 13),
             FavouriteSlot(Settings{}.appearance, 2, 13));
}

// The bar moves in steps of 100 000 rows up to the game's full variation, which it never
// passes; a game smaller than one step shows its size and keeps the setting.
void TBeallitasokTest::largestVariationBarStaysWithinTheGame() {
    const struct {
        GameId game;
        long long setting;
        const char* shown;
        long long full;
        const char* fullText;
    } cases[] = {
        {0, 250000, "300 000 számsor.", 43949268, "43 949 268 számsor."},
        {0, 100000, "100 000 számsor.", 43949268, "43 949 268 számsor."},
        {2, 900000000, "6 724 520 számsor.", 6724520, "6 724 520 számsor."},
        {8, 5000000, "5 000 000 számsor.", 1646492110120, "1 646 492 110 120 számsor."},
    };
    for (const auto& c : cases) {
        Dialog f(c.game);
        f.settings.largestVariation = c.setting;
        f.dialog.Load(LoadGameInfo(c.game));
        QCOMPARE(LabelText(f.dialog, "BontMaxMereteLabel"), QString::fromUtf8(c.shown));
        f.Largest()->setValue(f.Largest()->maximum() + 5);
        QCOMPARE(f.dialog.LargestVariation(), c.full);
        QCOMPARE(LabelText(f.dialog, "BontMaxMereteLabel"), QString::fromUtf8(c.fullText));
        f.Largest()->setValue(f.Largest()->maximum() - 1);
        QCOMPARE(f.dialog.LargestVariation() % TBeallitasok::kVariationStep, 0LL);
        QVERIFY(f.dialog.LargestVariation() < c.full);
        f.dialog.Apply();
        QCOMPARE(f.settings.largestVariation, f.dialog.LargestVariation());
    }
    Dialog keno(15); // three numbers of 80: 82 160 rows
    keno.settings.largestVariation = 700000;
    keno.dialog.Load(LoadGameInfo(15));
    QVERIFY(!keno.Largest()->isEnabled());
    QCOMPARE(LabelText(keno.dialog, "BontMaxMereteLabel"), QStringLiteral("82 160 számsor."));
    keno.dialog.Apply();
    QCOMPARE(keno.settings.largestVariation, 700000LL);
}

void TBeallitasokTest::checkBoxesGoIntoTheSettings() {
    Dialog f;
    f.settings.notices[3] = false;
    f.dialog.Load(LoadGameInfo(0));
    auto* approve = f.Get<QCheckBox>("JovahagyasCheck");
    auto* allNotices = f.Get<QCheckBox>("InformAllapotCheck");
    QVERIFY(approve->isChecked());
    approve->click();
    QVERIFY(!approve->isChecked());
    QCOMPARE(f.messages.Count(), std::size_t{1});
    QCOMPARE(f.messages.Last().kind, MessageKind::Warning);
    QCOMPARE(f.messages.LastText(),
             "Csak akkor kapcsolja ki a szolgáltatást, ha gyakorlott felhasználó.\rA "
             "jóváhagyások kérése szolgáltatás védelmet biztosít a főszelvényen kijelölt "
             "számsor, a beállított feltételek, a hibapont értéke és az egyéb opciók, valamint a "
             "variáció listája részére. \r\rA szolgáltatás használatával, elkerülhető a "
             "véletlen adatvesztés.");
    approve->click(); // switching it on says nothing
    QCOMPARE(f.messages.Count(), std::size_t{1});
    approve->click();

    // Each box against its setting; the notices come back only when the box is ticked.
    QVERIFY(allNotices->isEnabled() && !allNotices->isChecked());
    f.dialog.Apply();
    QVERIFY2(!f.settings.notices[3], "an apply without the box keeps a notice off");
    for (const char* name : {"BeallitasokCheck", "BuborekKiBeBox", "InformCheck", "BackTipusaGomb",
                             "NewVersionCheck", "InformAllapotCheck"}) {
        f.Get<QCheckBox>(name)->click();
    }
    f.dialog.Apply();
    QVERIFY(!f.settings.approve && !f.settings.saveOnExit && !f.settings.hints &&
            !f.settings.info && !f.settings.searchNewVersion);
    QCOMPARE(f.settings.backupKind, std::string("tip"));
    QVERIFY(UzenetekLogAllapot(f.settings, false, true));
    QVERIFY(!allNotices->isEnabled());

    // The download addresses; the operator's cannot be emptied.
    f.Get<QLineEdit>("HostEdit")->setText(QStringLiteral(" https://example.org "));
    f.Get<QLineEdit>("OperatorEdit")->clear();
    f.dialog.Apply();
    QCOMPARE(f.settings.downloadHost, std::string("https://example.org"));
    QCOMPARE(f.settings.operatorAddress, std::string(kDefaultOperatorAddress));

    f.settings.notices[0] = false;
    f.dialog.Load(LoadGameInfo(0));
    QVERIFY(!f.Get<QCheckBox>("BackTipusaGomb")->isChecked());
    f.Get<QCheckBox>("BackTipusaGomb")->click();
    f.dialog.Apply();
    QVERIFY(!f.settings.notices[0]);
    QCOMPARE(f.settings.backupKind, std::string("top"));
}

// Tab reaches every control, and each says what it is.
void TBeallitasokTest::everyControlHasAKeyAndAName() {
    Dialog f;
    int controls = 0;
    for (QWidget* widget : f.dialog.findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(widget) != nullptr ||
                             qobject_cast<QComboBox*>(widget) != nullptr ||
                             qobject_cast<QLineEdit*>(widget) != nullptr ||
                             qobject_cast<QAbstractSpinBox*>(widget) != nullptr ||
                             qobject_cast<QSlider*>(widget) != nullptr ||
                             qobject_cast<QListWidget*>(widget) != nullptr;
        // The line edits inside spin boxes and combo boxes belong to them.
        if (!control || qobject_cast<QAbstractSpinBox*>(widget->parentWidget()) != nullptr) {
            continue;
        }
        ++controls;
        const QByteArray name = widget->objectName().toUtf8();
        QVERIFY2((widget->focusPolicy() & Qt::TabFocus) != 0, name.constData());
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY2(accessible != nullptr, name.constData());
        QVERIFY2(!accessible->text(QAccessible::Name).trimmed().isEmpty(), name.constData());
    }
    QVERIFY(controls >= 22);

    const QString shots = qEnvironmentVariable("VELMORA_SCREENSHOTS");
    if (!shots.isEmpty()) {
        f.Favourite(true);
        auto* pages = f.Get<QTabWidget>("Lapok");
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            QVERIFY(f.dialog.grab().save(shots + QStringLiteral("/beallitasok%1.png").arg(page)));
        }
    }
}

// Through "Beállítások..." of the main window: "Kilépés" drops the edits, "Alkalmaz" puts them
// into the program and every open ticket, "Mentés" also writes Velmora.ini.
void TBeallitasokTest::exitDropsApplyReachesTheTicketsSaveWrites() {
    SessionParts f(3);
    TFoablak window(f.session, {});
    window.show();
    QStringList fileMenu;
    for (QAction* action : window.menuBar()->actions().first()->menu()->actions()) {
        fileMenu << action->text();
    }
    const qsizetype settingsAt = fileMenu.indexOf(QStringLiteral("Beállítások..."));
    QVERIFY(settingsAt > 0);
    QCOMPARE(fileMenu[settingsAt - 1], QStringLiteral("Mentés másként..."));
    QCOMPARE(fileMenu.last(), QStringLiteral("Kilépés"));
    QVERIFY(window.findChild<QToolBar*>()->actions().contains(Action(window, "actionSettings")));

    MarkRange(window, 1, 7);
    QVERIFY(WhileModal<TBontas>(
        &window, [&] { Action(window, "actionStart")->trigger(); },
        [](TBontas& engine) { QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout); }));
    Action(window, "actionListVariation")->trigger();
    TSzelveny& main = *window.Foszelveny()->Grid();
    TSzelveny& list = *window.ListWindow()->Ticket();
    QCOMPARE(main.Box(1)->width(), 30);
    const QColor marked = BoxColour(list, 1); // the first row, 1..5, is marked on the list

    const auto edit = [](TBeallitasok& dialog, const char* button) {
        Child<QRadioButton>(dialog, "KedvencSzinsema")->click();
        Child<QSpinBox>(dialog, "SzelvenyMereteEdit")->setValue(36);
        Child<QListWidget>(dialog, "SzelvenyBox")->setCurrentRow(kVariationListTicket);
        Child<QSpinBox>(dialog, "SzelvenyMereteEdit")->setValue(33);
        Child<QComboBox>(dialog, "NevCombo")->setCurrentIndex(2); // marked box
        auto* colours = Child<QComboBox>(dialog, "BoxColor");
        colours->setCurrentIndex(colours->findText(QStringLiteral("piros")));
        Child<QCheckBox>(dialog, "JovahagyasCheck")->click();
        Child<QAbstractButton>(dialog, button)->click();
    };
    const auto open = [&] { Action(window, "actionSettings")->trigger(); };
    QVERIFY(WhileModal<TBeallitasok>(&window, open, [&](TBeallitasok& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("  Program beállítások"));
        edit(dialog, "KilepesGomb");
    }));
    QCOMPARE(f.session.GetSettings().scheme, 0);
    QVERIFY(f.messages.ApproveOn());
    QCOMPARE(main.Box(1)->width(), 30);

    QVERIFY(WhileModal<TBeallitasok>(&window, open, [&](TBeallitasok& dialog) {
        edit(dialog, "AlkalmazGomb");
        // Applied while the dialog is still up.
        QCOMPARE(main.Box(1)->width(), 36);
        QCOMPARE(list.Box(1)->width(), 33);
    }));
    QCOMPARE(f.session.GetSettings().scheme, 1);
    QVERIFY(!f.messages.ApproveOn());
    QCOMPARE(BoxColour(list, 1), QColor(Qt::red));
    QCOMPARE(BoxColour(list, 6), BoxColour(main, 90)); // unmarked boxes keep their colour
    QVERIFY(BoxColour(list, 1) != marked);
    QCOMPARE(main.Box(1)->width(), 36);

    const ProgramFolders& folders = f.session.Folders();
    f.messages.Clear();
    QVERIFY(WhileModal<TBeallitasok>(&window, open, [](TBeallitasok& dialog) {
        Child<QSpinBox>(dialog, "SzamMereteEdit")->setValue(11);
        Child<QSlider>(dialog, "BontMaxMereteTB")->setValue(25);
        Child<QAbstractButton>(dialog, "MentesGomb")->click();
    }));
    QCOMPARE(f.messages.Count(), std::size_t{1});
    QCOMPARE(f.messages.Last().kind, MessageKind::Information);
    QCOMPARE(f.messages.LastText(), std::string("Beállítások elmentve."));
    Settings read = DefaultSettings(folders);
    QVERIFY(ReadSettings(folders, read, f.messages));
    QCOMPARE(read.largestVariation, 2500000LL);
    QCOMPARE(FavouriteSlot(read.appearance, kMainTicket, kSlotNumberSize), 11);
    QCOMPARE(FavouriteSlot(read.appearance, kMainTicket, kSlotBoxSize), 36);
    QCOMPARE(read.scheme, 1);
    QVERIFY(!read.approve);

    // A folder in the file's place cannot be replaced: one message, in the dialog's words.
    std::filesystem::remove(folders.settingsFile);
    std::filesystem::create_directory(folders.settingsFile);
    f.messages.Clear();
    QVERIFY(WhileModal<TBeallitasok>(&window, open, [](TBeallitasok& dialog) {
        Child<QAbstractButton>(dialog, "MentesGomb")->click();
    }));
    QCOMPARE(f.messages.Count(), std::size_t{1});
    QCOMPARE(f.messages.Last().kind, MessageKind::Error);
    QCOMPARE(f.messages.LastText(), std::string("Nem sikerült elmenteni a beállításokat."));
}

QTEST_MAIN(TBeallitasokTest)
#include "test_tbeallitasok.moc"
