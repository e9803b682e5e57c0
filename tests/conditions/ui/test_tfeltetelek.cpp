// The conditions dialog opened from the main window, offscreen.

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

#include <cmath>
#include <filesystem>
#include <random>
#include <sstream>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "common/file_io.h"
#include "conditions/filter.h"
#include "conditions/number_data.h"
#include "conditions/ui/tfeltetelek.h"
#include "draws/ui/thuzszama.h"
#include "support/draws_files.h"
#include "support/fake_file_chooser.h"
#include "support/session_parts.h"
#include "support/window_driver.h"
#include "variation/ui/tbontas.h"
#include "variation/variation_export.h"

using namespace velmora;
using namespace velmora::testing;

namespace {

struct Fixture : SessionParts {
    Fixture() : SessionParts(7) {
        window.show();
        window.LottoSelect(1); // 6/45
    }
    TFeltetelek& Open() {
        Action(window, "actionConditions")->trigger();
        TFeltetelek* dialog = window.ConditionsDialog();
        [&] { QVERIFY(dialog->isVisible()); }();
        return *dialog;
    }
    // "Variáció" runs the engine window to its end.
    void PressStart(TFeltetelek& dialog) {
        QVERIFY(WhileModal<TBontas>(
            &window, [&dialog] { dialog.StartButton()->click(); },
            [](TBontas& engine) { QTRY_VERIFY_WITH_TIMEOUT(!engine.Running(), kRunTimeout); }));
    }
    // A variation of the marked numbers made with one condition ticked in the dialog.
    TFeltetelek& MakeVariation(Condition condition) {
        TFeltetelek& dialog = Open();
        dialog.ConditionBox(condition)->click();
        [&] { QVERIFY(dialog.isVisible()); }();
        PressStart(dialog);
        [&] { QVERIFY(session.Variation().Exists()); }();
        return dialog;
    }
    TFoablak window{session, {}};
};

// The spin boxes of a condition's panel, in the order they were built.
QList<QSpinBox*> Fields(TFeltetelek& dialog, Condition condition) {
    QList<QSpinBox*> fields;
    QWidget* panel = dialog.ConditionBox(condition)->parentWidget();
    for (QSpinBox* box : panel->findChildren<QSpinBox*>()) {
        fields.push_back(box);
    }
    return fields;
}

void AnswerYes(FakeMessages& messages, int count) {
    for (int i = 0; i < count; ++i) {
        messages.QueueAnswer(Answer::Yes);
    }
}

// Every field a user can change shows what its record holds, within the editor's limits, and
// the filter can run what the dialog made.
void CheckInvariants(TFeltetelek& dialog, Session& session) {
    QVERIFY(dialog.isVisible());
    ConditionEditor& editor = session.Editor();
    for (const auto& [field, box] : dialog.FieldControls()) {
        if (!box->isEnabled()) {
            continue;
        }
        const IntRange limits = editor.Limits(field);
        QVERIFY2(box->value() == editor.Value(field), qPrintable(box->accessibleName()));
        QVERIFY2(editor.Value(field) >= limits.minimum && editor.Value(field) <= limits.maximum,
                 qPrintable(box->accessibleName()));
    }
    const QList<QDoubleSpinBox*> deviation = dialog.findChildren<QDoubleSpinBox*>();
    if (deviation.front()->isEnabled()) {
        const DeviationCondition& d = session.Conditions().deviation;
        QVERIFY(std::abs(deviation[0]->value() - d.minimum) < 0.006);
        QVERIFY(std::abs(deviation[1]->value() - d.maximum) < 0.006);
    }
    const MainTicket& ticket = session.Ticket();
    const GameInfo& game = session.Game();
    ConditionFilter filter;
    filter.Prepare(session.Conditions(), SzamJelzoBeallitas(ticket.Selected(), game.maxNumber),
                   game, ticket.NumbersToChoose(), nullptr);
    std::vector<std::uint8_t> row(kMaxRowLength, 0);
    for (int i = 0; i < ticket.NumbersToChoose(); ++i) {
        row[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }
    WalkState walk{row.data(), ticket.NumbersToChoose() - 1, 0, 0, true};
    filter.FeltVizsgalat(walk);
    QVERIFY(walk.cursor >= -1 && walk.cursor < ticket.NumbersToChoose());
}

} // namespace

class TFeltetelekTest : public QObject {
    Q_OBJECT
private slots:
    void everyConditionIsBoundToTheEditor();
    void readOnlyWhileAVariationExists();
    void menuCaptionFollowsTheConditions();
    void zeroErrorPointsWhileExtendingOpensTheDialog();
    void modifyDropsTheVariationAndOpensTheConditions();
    void openDialogFollowsTheTicket();
    void hitRatioDrawsComeFromTheRangeDialog();
    void fixedNumbersNoticeUntilSwitchedOff();
    void everyControlHasANameForScreenReaders();
    void dialogMakesTheSameWheelAsTheCommandLine();
    void randomClicksKeepEveryValueInItsLimits();
    void damagedValuesOpenBounded();
    void screenshotsOfEveryPage();
};

// Each box enables its panel and swaps its hint; each panel's first field writes its record;
// unchecking disables the panel again.
void TFeltetelekTest::everyConditionIsBoundToTheEditor() {
    Fixture f;
    MarkRange(f.window, 1, 30); // twins, mirror pairs (12/21, 13/31...), primes: all apply
    AnswerYes(f.messages, 20);
    TFeltetelek& dialog = f.Open();
    for (const ConditionInfo& info : ConditionTable()) {
        if (info.id == Condition::HitRatio) {
            QVERIFY(!dialog.ConditionBox(info.id)->isEnabled()); // no draws
            continue;
        }
        QCheckBox* box = dialog.ConditionBox(info.id);
        const QList<QSpinBox*> fields = Fields(dialog, info.id);
        QVERIFY2(!fields.isEmpty() || info.id == Condition::Deviation, info.key);
        QCOMPARE(box->toolTip(), QStringLiteral(" Feltétel kijelölése. "));
        box->click();
        QVERIFY2(IsActive(f.session.Conditions(), info.id), info.key);
        QCOMPARE(box->toolTip(), QStringLiteral(" Feltétel törlése. "));
        for (QSpinBox* field : fields) {
            QVERIFY2(field->isEnabled(), qPrintable(field->accessibleName()));
            QVERIFY(!field->accessibleName().isEmpty());
        }
        if (!fields.isEmpty() && fields.front()->maximum() > fields.front()->minimum()) {
            // The field writes the record at once.
            QSpinBox* first = fields.front();
            first->setValue(first->maximum());
            bool written = false;
            for (const ConditionField& field : info.fields) {
                written = written || (field.integer != nullptr &&
                                      field.integer(f.session.Conditions()) == first->value());
            }
            QVERIFY2(written, info.key);
        }
        box->click();
        QVERIFY2(!IsActive(f.session.Conditions(), info.id), info.key);
        for (QSpinBox* field : fields) {
            QVERIFY(!field->isEnabled());
        }
        CheckInvariants(dialog, f.session);
    }
}

void TFeltetelekTest::readOnlyWhileAVariationExists() {
    Fixture f;
    MarkRange(f.window, 1, 12);
    TFeltetelek& dialog = f.MakeVariation(Condition::Sum);
    QVERIFY(!dialog.isVisible());
    f.Open();
    QVERIFY(dialog.ReadOnly());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("  Beállított feltételek listája"));
    QCOMPARE(dialog.StartButton()->text(), QStringLiteral("Módosítás"));
    QVERIFY(!dialog.ConditionBox(Condition::Sum)->isEnabled());
    QVERIFY(!dialog.ErrorPointsField()->isEnabled());
    // "Módosítás" after the delete question: the variation goes, the dialog is editable.
    f.messages.QueueAnswer(Answer::Yes);
    dialog.StartButton()->click();
    QVERIFY(!f.session.Variation().Exists());
    QVERIFY(!dialog.ReadOnly());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("  Feltételek kijelölése"));
    QCOMPARE(dialog.StartButton()->text(), QStringLiteral("Variáció"));
    QVERIFY(dialog.ConditionBox(Condition::Sum)->isEnabled());
}

void TFeltetelekTest::menuCaptionFollowsTheConditions() {
    Fixture f;
    QAction* command = Action(f.window, "actionConditions");
    QVERIFY(!command->isEnabled());
    QCOMPARE(command->toolTip(), QStringLiteral(" Nincs kijelölt számsor. "));
    MarkRange(f.window, 1, 12);
    QVERIFY(command->isEnabled());
    QCOMPARE(command->text(), QStringLiteral("Kijelölés..."));
    f.MakeVariation(Condition::Sum);
    QCOMPARE(command->text(), QStringLiteral("Listázás..."));
    QCOMPARE(command->toolTip(), QStringLiteral(" Beállított feltételek listája, feltételek "
                                                "módosítása."));
    // Clearing from the menu: the variation's question, then "Kijelölés..." again.
    f.messages.QueueAnswer(Answer::Yes);
    Action(f.window, "actionClearConditions")->trigger();
    QVERIFY(!f.session.Conditions().AnyActive());
    QCOMPARE(command->text(), QStringLiteral("Kijelölés..."));
}

void TFeltetelekTest::zeroErrorPointsWhileExtendingOpensTheDialog() {
    Fixture f;
    MarkRange(f.window, 1, 12);
    f.session.Ticket().Extension().active = true;
    Action(f.window, "actionStart")->trigger();
    QCOMPARE(
        f.messages.LastText(),
        std::string("Ha nincs kijelölt feltétel, a nulla hibapontos variáció nem értelmezett."));
    QVERIFY(f.window.ConditionsDialog()->isVisible());
    QVERIFY(!f.session.Variation().Exists());
}

// The open dialog follows the ticket: a condition ticked after more numbers are marked takes
// its defaults from the new numbers.
void TFeltetelekTest::openDialogFollowsTheTicket() {
    Fixture f;
    MarkRange(f.window, 1, 12);
    TFeltetelek& dialog = f.Open();
    MarkRange(f.window, 13, 20); // a change of marks clears the conditions and closes it
    QVERIFY(!dialog.isVisible());
    f.Open();
    dialog.ConditionBox(Condition::Span)->click();
    QCOMPARE(f.session.Conditions().span.last, 20);
    // A variation file opened meanwhile makes the open dialog read-only.
    SessionParts other(3);
    other.session.ApplyGame(1);
    for (int n = 1; n <= 9; ++n) {
        other.session.ClickNumber(n, MarkKind::Variation);
    }
    VariationDocument& variation = other.session.Variation();
    Bontas engine(other.messages, variation.Store());
    QVERIFY(engine.BontasIndul(variation.MakeGenerationInput()));
    engine.Run();
    variation.GenerationDone(engine.Vege());
    const std::string path = f.home.Path() + "v.top";
    QVERIFY(variation.Save(path));
    FakeFileChooser chooser;
    chooser.QueueChoice(path, 2);
    f.window.SetChooser(chooser);
    // No save first; the ticket and its conditions go.
    f.messages.QueueAnswers({Answer::No, Answer::Yes, Answer::Yes});
    Action(f.window, "actionOpen")->trigger();
    QVERIFY(f.session.Variation().Exists());
    QVERIFY(!dialog.isVisible() || dialog.ReadOnly());
}

void TFeltetelekTest::modifyDropsTheVariationAndOpensTheConditions() {
    Fixture f;
    MarkRange(f.window, 1, 12);
    QAction* modify = Action(f.window, "actionModifyVariation");
    QVERIFY(!modify->isEnabled());
    TFeltetelek& dialog = f.MakeVariation(Condition::Twins);
    QVERIFY(modify->isEnabled());
    modify->trigger(); // the delete question answered No: nothing changes
    QVERIFY(f.session.Variation().Exists());
    QVERIFY(!dialog.isVisible());
    f.messages.QueueAnswer(Answer::Yes);
    modify->trigger();
    QVERIFY(!f.session.Variation().Exists());
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.ReadOnly());
    QVERIFY(f.session.Conditions().twins.active);
}

// With fixed numbers the conditions judge only the chosen ones: the notice says so until the
// user asks not to be reminded.
void TFeltetelekTest::fixedNumbersNoticeUntilSwitchedOff() {
    Fixture f;
    MarkRange(f.window, 1, 12);
    ClickBox(f.window, 30, Qt::ShiftModifier);
    const std::string notice = "5 szám variációja egy szelvényen.\rA kijelölt 1 fix számot minden "
                               "feltétel esetében figyelmen kívül hagyja  a program.\r\rErre "
                               "legközelebb is emlékeztesse a program?";
    f.messages.QueueAnswer(Answer::No); // do not remind
    f.Open();
    QCOMPARE(f.messages.LastText(), notice);
    f.window.ConditionsDialog()->hide();
    f.messages.Clear();
    f.Open();
    QCOMPARE(f.messages.Count(), std::size_t{0});
}

void TFeltetelekTest::hitRatioDrawsComeFromTheRangeDialog() {
    Fixture f;
    std::filesystem::create_directories(f.session.Folders().data);
    QVERIFY(ReplaceFile(f.session.DatabasePath(),
                        SerializeDraws(SampleDraws(LoadGameInfo(1), 300), 1)));
    f.window.LottoSelect(0);
    f.window.LottoSelect(1); // loads the draws
    MarkRange(f.window, 1, 12);
    TFeltetelek& dialog = f.Open();
    QCheckBox* box = dialog.ConditionBox(Condition::HitRatio);
    QVERIFY(box->isEnabled());
    box->click();
    QVERIFY(f.session.Conditions().hitRatio.active);
    auto* draws = dialog.findChild<QPushButton*>(QStringLiteral("hitRatioDraws"));
    QVERIFY(draws != nullptr && draws->isEnabled());
    QVERIFY(WhileModal<THuzSzama>(
        &f.window, [draws] { draws->click(); },
        [](THuzSzama& range) {
            range.FirstField()->SetText(QStringLiteral("101"));
            range.LastField()->SetText(QStringLiteral("250"));
            QVERIFY(range.Confirm());
        }));
    QCOMPARE(f.session.Conditions().hitRatio.firstDraw, 101);
    QCOMPARE(f.session.Conditions().hitRatio.lastDraw, 250);
}

// Each control a user can reach is named by its label or its text; the number boxes say their
// number and how it is marked.
void TFeltetelekTest::everyControlHasANameForScreenReaders() {
    Fixture f;
    MarkRange(f.window, 1, 12);
    ClickBox(f.window, 20, Qt::ShiftModifier);
    TFeltetelek& dialog = f.Open();
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
        if (control->focusPolicy() == Qt::NoFocus || !control->isVisibleTo(&dialog) ||
            qobject_cast<QTabWidget*>(control) || control->inherits("QLineEdit") ||
            control->inherits("QTabBar")) {
            continue;
        }
        const auto* button = qobject_cast<QAbstractButton*>(control);
        const QString name =
            button != nullptr ? button->text().trimmed() : control->accessibleName();
        QVERIFY2(!name.isEmpty(), control->metaObject()->className());
    }
    TSzelveny& grid = *f.window.Foszelveny()->Grid();
    QCOMPARE(grid.Box(3)->accessibleName(), QStringLiteral("3, kijelölt szám"));
    QCOMPARE(grid.Box(20)->accessibleName(), QStringLiteral("20, fix szám"));
    QCOMPARE(grid.Box(33)->accessibleName(), QStringLiteral("33"));
}

// 20 numbers of 6/45, a sum range, primes and one error point set in the dialog make the rows
// velmora-cli makes of the same wheel described on its command line.
void TFeltetelekTest::dialogMakesTheSameWheelAsTheCommandLine() {
    Fixture f;
    MarkRange(f.window, 1, 20);
    AnswerYes(f.messages, 5);
    TFeltetelek& dialog = f.Open();
    dialog.Pages()->setCurrentIndex(5);
    dialog.ConditionBox(Condition::Sum)->click();
    QRadioButton* mobile = nullptr;
    for (QRadioButton* radio :
         dialog.ConditionBox(Condition::Sum)->parentWidget()->findChildren<QRadioButton*>()) {
        if (radio->text() == QStringLiteral("Mobil")) {
            mobile = radio;
        }
    }
    QVERIFY(mobile != nullptr);
    mobile->click();
    const QList<QSpinBox*> sum = Fields(dialog, Condition::Sum);
    sum[1]->setValue(70);
    sum[0]->setValue(50);
    dialog.ConditionBox(Condition::Primes)->click();
    const QList<QSpinBox*> primes = Fields(dialog, Condition::Primes);
    primes[1]->setValue(3);
    primes[0]->setValue(1);
    dialog.ErrorPointsField()->setValue(1);
    f.PressStart(dialog);
    QVERIFY(f.session.Variation().Exists());
    const VariationStore& made = f.session.Variation().Store();

    std::string rows;
    const ExportSource source = f.session.Variation().RowSource();
    std::vector<int> numbers;
    for (long long r = 0; r < made.Count(); ++r) {
        RowNumbers(made, source, r, numbers);
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            rows += (i == 0 ? "" : " ") + std::to_string(numbers[i]);
        }
        rows += "\n";
    }
    QVERIFY(made.Count() > 0);

    // The same wheel described to velmora-cli, and the rows it prints.
    const std::string home = f.home.Path();
    std::ostringstream out;
    std::ostringstream err;
    QCOMPARE(
        cli::RunCommandLine(
            cli::CommandTable(),
            {"--home",    home,           "--yes",          "ticket",      "--game", "1",
             "--numbers", "1-20",         "--error-points", "1",           "--set",  "sum.fixed=0",
             "--set",     "sum.max=70",   "--set",          "sum.min=50",  "--set",  "primes.max=3",
             "--set",     "primes.min=1", "--out",          home + "T.tip"},
            out, err),
        0);
    out.str("");
    QCOMPARE(cli::RunCommandLine(cli::CommandTable(),
                                 {"--home", home, "generate", home + "T.tip", "--print-rows"}, out,
                                 err),
             0);
    const std::string printed = out.str();
    QCOMPARE(printed.substr(0, printed.rfind("rows: ")), rows);
}

// Thousands of clicks in random order on every control: after each, every value stays in its
// limits and the filter can run the set.
void TFeltetelekTest::randomClicksKeepEveryValueInItsLimits() {
    Fixture f;
    MarkRange(f.window, 1, 30);
    std::mt19937 random(20261206);
    // Every question is answered Yes or No at random.
    f.messages.onPresent = [&f, &random](const FakeMessages::Shown&) {
        if (f.messages.PendingAnswers() == 0) {
            f.messages.QueueAnswer(random() % 2 == 0 ? Answer::Yes : Answer::No);
        }
    };
    TFeltetelek& dialog = f.Open();
    const QList<QAbstractButton*> buttons = dialog.findChildren<QAbstractButton*>();
    const QList<QSpinBox*> spins = dialog.findChildren<QSpinBox*>();
    const QList<QDoubleSpinBox*> reals = dialog.findChildren<QDoubleSpinBox*>();
    for (int step = 0; step < 3000; ++step) {
        dialog.Pages()->setCurrentIndex(static_cast<int>(random() % 6));
        const unsigned kind = random() % 3;
        if (kind == 0) {
            QAbstractButton* button = buttons[static_cast<int>(random() % buttons.size())];
            if (button == dialog.StartButton() || !button->isEnabled() ||
                button->text() == QStringLiteral("Kilépés")) {
                continue;
            }
            button->click();
        } else if (kind == 1) {
            QSpinBox* box = spins[static_cast<int>(random() % spins.size())];
            if (box->isEnabled()) {
                box->setValue(
                    box->minimum() +
                    static_cast<int>(random() %
                                     static_cast<unsigned>(box->maximum() - box->minimum() + 1)));
            }
        } else {
            QDoubleSpinBox* box = reals[static_cast<int>(random() % reals.size())];
            if (box->isEnabled()) {
                box->setValue(box->minimum() +
                              (box->maximum() - box->minimum()) * (random() % 101) / 100.0);
            }
        }
        if (!dialog.isVisible()) {
            f.Open(); // "Törlés" closes it
        }
        CheckInvariants(dialog, f.session);
        if (QTest::currentTestFailed()) {
            qWarning("failed after step %d", step);
            return;
        }
    }
}

// Values from a damaged file are shown, and kept, within their limits: what a field shows is
// what the record holds.
void TFeltetelekTest::damagedValuesOpenBounded() {
    Fixture f;
    MarkRange(f.window, 1, 20);
    ConditionSet& set = f.session.Conditions();
    set.sum = {true, false, 5, 2000};
    set.twins = {true, -3, 99};
    set.favoured = {true, 9, 2, 40, -1};
    set.deviation = {true, -5.0f, 1e6f};
    set.errorPoints = 77;
    TFeltetelek& dialog = f.Open();
    for (const auto& [condition, index, value] :
         {std::tuple{Condition::Sum, 0, &set.sum.minimum},
          {Condition::Sum, 1, &set.sum.maximum},
          {Condition::Twins, 0, &set.twins.minimum},
          {Condition::Twins, 1, &set.twins.maximum},
          {Condition::Favoured, 0, &set.favoured.first},
          {Condition::Favoured, 1, &set.favoured.last},
          {Condition::Favoured, 3, &set.favoured.maxHits}}) {
        QCOMPARE(Fields(dialog, condition)[index]->value(), *value);
    }
    QCOMPARE(dialog.ErrorPointsField()->value(), set.errorPoints);
    CheckInvariants(dialog, f.session);
}

// With VELMORA_SCREENSHOTS set to a folder, every page is saved there as a picture.
void TFeltetelekTest::screenshotsOfEveryPage() {
    const QString folder = qEnvironmentVariable("VELMORA_SCREENSHOTS");
    if (folder.isEmpty()) {
        QSKIP("VELMORA_SCREENSHOTS is not set");
    }
    Fixture f;
    MarkRange(f.window, 1, 30);
    AnswerYes(f.messages, 20);
    TFeltetelek& dialog = f.Open();
    for (const ConditionInfo& info : ConditionTable()) {
        if (dialog.ConditionBox(info.id)->isEnabled()) {
            dialog.ConditionBox(info.id)->click();
        }
    }
    for (int page = 0; page < dialog.Pages()->count(); ++page) {
        dialog.Pages()->setCurrentIndex(page);
        QCoreApplication::processEvents();
        QVERIFY(dialog.grab().save(folder + QStringLiteral("/feltetelek_%1.png").arg(page)));
    }
}

QTEST_MAIN(TFeltetelekTest)
#include "test_tfeltetelek.moc"
