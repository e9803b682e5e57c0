#include "conditions/ui/tfeltetelek.h"

#include <algorithm>
#include <cstdio>

#include <QCheckBox>
#include <QCloseEvent>
#include <QDoubleSpinBox>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/numbers.h"
#include "ticket/qt_colours.h"

namespace velmora {

namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

const char* const kSelectHint = " Feltétel kijelölése. ";
const char* const kDeleteHint = " Feltétel törlése. ";
const char* const kStartHint = " Variáció készítése. ";
const char* const kModifyHint =
    " Variáció listájának törlése, feltételek \r szerkesztésének engedélyezése. ";
const char* const kReadOnlyPageHint = " Feltételek szerkesztése: kattintson a [Módosítás] gombra. ";
const char* const kEditCaption = "  Feltételek kijelölése";
const char* const kReadOnlyCaption = "  Beállított feltételek listája";
const char* const kInPositionsHint = " - \r a variációra kijelölt számsoron belül. ";

// The pages in order, each with its conditions from top to bottom.
struct PageLayout {
    const char* title;
    std::vector<Condition> conditions;
};

const std::vector<PageLayout>& PageLayouts() {
    static const std::vector<PageLayout> pages = {
        {"Eloszlás ",
         {Condition::Favoured, Condition::Mobile, Condition::Fixed, Condition::NumberGroups}},
        {"Számcsoport", {Condition::DecadeParity, Condition::DecadeRepeat}},
        {"Találati arány", {Condition::HitRatio}},
        {"Számvégződés", {Condition::EndingParity, Condition::EndingRepeat}},
        {"Események ", {Condition::Mirrors, Condition::Twins, Condition::Primes}},
        {"Math", {Condition::Deviation, Condition::Span, Condition::Sum}},
    };
    return pages;
}

// The condition's title without its leading blank, for accessible names.
QString Title(Condition condition) {
    return Q(InfoOf(condition).boxTitle).trimmed();
}

void SetHint(QWidget* widget, const std::string& hint) {
    widget->setToolTip(ToQt(hint));
}

// The hint of the number-group count: every group, a line each, as the condition report
// writes them.
std::string NumberGroupsList(const NumberGroupsCondition& groups) {
    std::string text = " Kijelölt számcsoportok listája";
    for (int g = 0; g < groups.count && g < kMaxNumberGroups; ++g) {
        const NumberGroupSlot& slot = groups.groups[static_cast<std::size_t>(g)];
        char number[8];
        std::snprintf(number, sizeof number, "%3d", g + 1);
        text += "\r      " + std::string(number) + ". számcsoport: " + std::to_string(slot.first) +
                " - " + std::to_string(slot.last) + ". számig terjed. Minimum " +
                std::to_string(slot.minHits) + ", maximum " + std::to_string(slot.maxHits) +
                " találat elérése. ";
    }
    return text;
}

} // namespace

TFeltetelek::TFeltetelek(ConditionEditor& editor, ConditionSet& set, Links links, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_editor(editor), m_set(set), m_links(std::move(links)) {
    setObjectName(QStringLiteral("TFeltetelek"));
    setWindowTitle(Q(kEditCaption));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("FeltetelekPC"));
    m_pages->setUsesScrollButtons(false); // every tab in sight
    layout->addWidget(m_pages);
    BuildPages();
    m_bottom = new QWidget(this);
    layout->addWidget(m_bottom);
    BuildBottom(m_bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_pages, &QTabWidget::currentChanged, this, [this] { FitPageHeight(); });
}

// --- Building ---------------------------------------------------------------------------------

void TFeltetelek::BuildPages() {
    for (const PageLayout& layout : PageLayouts()) {
        auto* page = new QWidget(m_pages);
        auto* column = new QVBoxLayout(page);
        for (Condition condition : layout.conditions) {
            Panel& panel = AddPanel(page, condition);
            column->addWidget(panel.frame);
        }
        column->addStretch(1);
        m_pages->addTab(page, Q(layout.title));
    }
}

TFeltetelek::Panel& TFeltetelek::AddPanel(QWidget* page, Condition condition) {
    const ConditionInfo& info = InfoOf(condition);
    auto* frame = new QFrame(page);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setLayout(new QGridLayout(frame));
    auto* box = new QCheckBox(Q(info.boxTitle), frame);
    box->setObjectName(QString::fromLatin1(info.key).replace(QLatin1Char(' '), QLatin1Char('_')));
    QFont bold = box->font();
    bold.setBold(true);
    box->setFont(bold);
    static_cast<QGridLayout*>(frame->layout())->addWidget(box, 0, 0, 1, 6);
    connect(box, &QCheckBox::clicked, this,
            [this, condition](bool checked) { BoxClicked(condition, checked); });
    m_panels.push_back({condition, frame, box, {}});
    Panel& panel = m_panels.back();

    const auto range = [this, &panel](Field min, Field max, const char* minHint,
                                      const char* maxHint) {
        AddIntField(panel, min, Q("Minimum:"), minHint);
        AddIntField(panel, max, Q("Maximum:"), maxHint);
    };
    const auto parityChoices = [this, &panel, condition](const char* fixHint,
                                                         const char* severalHint) {
        AddChoice(
            panel, Q("Fix"), Q("Több"), fixHint, severalHint,
            condition == Condition::DecadeParity
                ? +[](const ConditionSet& s) { return s.decadeParity.fixedRatio; }
                : +[](const ConditionSet& s) { return s.endingParity.fixedRatio; },
            [this, condition](bool on) { return m_editor.SetParityRatio(condition, on); });
        AddChoice(
            panel, Q("páros"), Q("páratlan"), "", "",
            condition == Condition::DecadeParity
                ? +[](const ConditionSet& s) { return s.decadeParity.even; }
                : +[](const ConditionSet& s) { return s.endingParity.even; },
            [this, condition](bool on) { return m_editor.SetParityKind(condition, on); });
    };
    const auto repeatChoice = [this, &panel, condition](const char* oneHint,
                                                        const char* severalHint) {
        AddChoice(
            panel, Q("Egy"), Q("Több"), oneHint, severalHint,
            condition == Condition::DecadeRepeat
                ? +[](const ConditionSet& s) { return s.decadeRepeat.oneGroup; }
                : +[](const ConditionSet& s) { return s.endingRepeat.oneGroup; },
            [this, condition](bool on) { return m_editor.SetRepeatChoice(condition, on) == on; });
    };

    switch (condition) {
    case Condition::Favoured:
        AddIntField(panel, Field::FavouredFirst, Q("Első pozíció:"),
                    " Favorizált számcsoport első számának pozíciója - \r a variációra kijelölt "
                    "számsoron belül. ");
        AddIntField(panel, Field::FavouredLast, Q("Utolsó pozíció:"),
                    " Favorizált számcsoport utolsó számának pozíciója - \r a variációra kijelölt "
                    "számsoron belül. ");
        AddIntField(panel, Field::FavouredMinHits, Q("Találat min.:"),
                    " Találatok minimuma a favorizált számcsoportból. ");
        AddIntField(panel, Field::FavouredMaxHits, Q("Találat max.:"),
                    " Találatok maximuma a favorizált számcsoportból. ");
        break;
    case Condition::Mobile:
        AddIntField(panel, Field::MobileSize, Q("Csoportméret:"), "");
        AddIntField(panel, Field::MobileMax, Q("Találat max.:"),
                    " Egy mobil számcsoportból elérhető találatok maximuma. ");
        break;
    case Condition::Fixed:
        AddIntField(panel, Field::FixedSize, Q("Csoportméret:"), "");
        AddIntField(panel, Field::FixedMax, Q("Találat max.:"),
                    " Egy fix számcsoportból elérhető találatok maximuma. ");
        break;
    case Condition::DecadeParity:
        parityChoices(" Számcsoportok fixen meghatározott találati aránya. ",
                      " Páros vagy páratlan számcsoportból legyen több egy szelvényen. ");
        range(Field::DecadeParityMin, Field::DecadeParityMax,
              " Páros/páratlan számcsoportok találati arányának minimuma. ",
              " Páros/páratlan számcsoportok találati arányának maximuma. ");
        break;
    case Condition::EndingParity:
        parityChoices(" Számvégződések (páros/páratlan számok) fixen meghatározott találati "
                      "aránya. ",
                      " Páros vagy páratlan számvégződésű számból legyen több egy szelvényen. ");
        range(Field::EndingParityMin, Field::EndingParityMax,
              " Számvégződések (páros/páratlan számok) találati arányának minimuma. ",
              " Számvégződések (páros/páratlan számok) találati arányának maximuma. ");
        break;
    case Condition::DecadeRepeat:
        repeatChoice(" Egy számcsoport ismétlődhet egy szelvényen. ",
                     " Egy vagy több számcsoport ismétlődhet egy szelvényen. ");
        range(Field::DecadeRepeatMin, Field::DecadeRepeatMax,
              " Számcsoportok egy szelvényen történő ismétlődésének minimuma. ",
              " Számcsoportok egy szelvényen történő ismétlődésének maximuma. ");
        break;
    case Condition::EndingRepeat:
        repeatChoice(" Egy számvégződés ismétlődhet egy szelvényen. ",
                     " Egy vagy több számvégződés ismétlődhet egy szelvényen. ");
        range(Field::EndingRepeatMin, Field::EndingRepeatMax,
              " Számvégződések egy szelvényen történő ismétlődésének minimuma. ",
              " Számvégződések egy szelvényen történő ismétlődésének maximuma. ");
        break;
    case Condition::HitRatio:
        BuildHitRatio(panel);
        break;
    case Condition::Sum:
        AddChoice(
            panel, Q("Fix"), Q("Mobil"), "", " Variáció számsorainak összeghatárai. ",
            [](const ConditionSet& s) { return s.sum.fixedSum; },
            [this](bool on) {
                m_editor.SetSumFixed(on);
                return true;
            });
        range(Field::SumMin, Field::SumMax, "", "");
        break;
    case Condition::Twins:
        SetHint(frame, " Szelvényenként engedélyezett ikerszámok minimuma és maximuma. ");
        range(Field::TwinsMin, Field::TwinsMax, "", "");
        break;
    case Condition::Mirrors:
        SetHint(frame, " Szelvényenként engedélyezett tükör számpárok minimuma és maximuma. ");
        range(Field::MirrorsMin, Field::MirrorsMax, "", "");
        break;
    case Condition::Primes:
        SetHint(frame, " Szelvényenként engedélyezett prímszámok minimuma és maximuma. ");
        range(Field::PrimesMin, Field::PrimesMax, "", "");
        break;
    case Condition::Deviation:
        SetHint(frame, " Szelvényenként engedélyezett szórás minimuma és maximuma. ");
        BuildDeviation(panel);
        break;
    case Condition::Span:
        SetHint(frame, " Szelvényenként engedélyezett számtartomány - terjedelem. ");
        AddIntField(panel, Field::SpanFirst, Q("Első pozíció:"), "");
        AddIntField(panel, Field::SpanLast, Q("Utolsó pozíció:"), "");
        m_spanLabel = new QLabel(frame);
        static_cast<QGridLayout*>(frame->layout())->addWidget(m_spanLabel, 3, 0, 1, 6);
        panel.controls.push_back(m_spanLabel);
        break;
    case Condition::NumberGroups:
        BuildNumberGroups(panel);
        break;
    }
    return panel;
}

QSpinBox* TFeltetelek::AddIntField(Panel& panel, Field field, const QString& label,
                                   const char* hint) {
    auto* grid = static_cast<QGridLayout*>(panel.frame->layout());
    const int index = static_cast<int>(
        std::count_if(panel.controls.begin(), panel.controls.end(),
                      [](QWidget* w) { return qobject_cast<QSpinBox*>(w) != nullptr; }));
    const int row = 2 + index / 2;
    const int column = (index % 2) * 2;
    auto* text = new QLabel(label, panel.frame);
    auto* box = new QSpinBox(panel.frame);
    box->setKeyboardTracking(false);
    box->setAccessibleName(Title(panel.condition) + QStringLiteral(", ") +
                           QString(label).remove(QLatin1Char(':')));
    text->setBuddy(box);
    if (*hint != '\0') {
        SetHint(box, hint);
    }
    grid->addWidget(text, row, column);
    grid->addWidget(box, row, column + 1);
    panel.controls.push_back(text);
    panel.controls.push_back(box);
    m_ints.push_back({field, box});
    connect(box, &QSpinBox::valueChanged, this,
            [this, field](int value) { IntChanged(field, value); });
    return box;
}

void TFeltetelek::AddChoice(Panel& panel, const QString& onText, const QString& offText,
                            const char* onHint, const char* offHint,
                            bool (*value)(const ConditionSet&), std::function<bool(bool)> set) {
    auto* grid = static_cast<QGridLayout*>(panel.frame->layout());
    auto* group = new QWidget(panel.frame);
    auto* row = new QHBoxLayout(group);
    row->setContentsMargins(0, 0, 0, 0);
    auto* on = new QRadioButton(onText, group);
    auto* off = new QRadioButton(offText, group);
    SetHint(on, onHint);
    SetHint(off, offHint);
    row->addWidget(on);
    row->addWidget(off);
    row->addStretch(1);
    const int choices = static_cast<int>(
        std::count_if(m_choices.begin(), m_choices.end(),
                      [&panel](const Choice& c) { return c.condition == panel.condition; }));
    grid->addWidget(group, 1, choices * 3, 1, 3);
    panel.controls.push_back(group);
    m_choices.push_back({panel.condition, on, off, value, std::move(set)});
    const std::size_t index = m_choices.size() - 1;
    connect(on, &QRadioButton::clicked, this,
            [this, index] { ChoiceClicked(m_choices[index], true); });
    connect(off, &QRadioButton::clicked, this,
            [this, index] { ChoiceClicked(m_choices[index], false); });
}

void TFeltetelek::BuildDeviation(Panel& panel) {
    auto* grid = static_cast<QGridLayout*>(panel.frame->layout());
    const auto add = [&](const QString& label, int column, void (ConditionEditor::*set)(double)) {
        auto* text = new QLabel(label, panel.frame);
        auto* box = new QDoubleSpinBox(panel.frame);
        box->setDecimals(2);
        box->setSingleStep(0.01);
        box->setKeyboardTracking(false);
        box->setAccessibleName(Title(panel.condition) + QStringLiteral(", ") +
                               QString(label).remove(QLatin1Char(':')));
        text->setBuddy(box);
        grid->addWidget(text, 2, column);
        grid->addWidget(box, 2, column + 1);
        panel.controls.push_back(text);
        panel.controls.push_back(box);
        connect(box, &QDoubleSpinBox::valueChanged, this, [this, set](double value) {
            if (!m_refreshing) {
                (m_editor.*set)(value);
                Changed();
            }
        });
        return box;
    };
    m_deviationMin = add(Q("Minimum:"), 0, &ConditionEditor::SetDeviationMinimum);
    m_deviationMax = add(Q("Maximum:"), 2, &ConditionEditor::SetDeviationMaximum);
}

void TFeltetelek::BuildHitRatio(Panel& panel) {
    const char* hint = " A beállított találati arányokat elérő";
    AddChoice(
        panel, Q("Keresett"), Q("Kizárt"),
        (std::string(hint) + " számsorok kiválogatása. ").c_str(),
        (std::string(hint) + " szelvények kizárása a variációból. ").c_str(),
        [](const ConditionSet& s) { return s.hitRatio.searched; },
        [this](bool on) {
            m_editor.SetHitRatioSearched(on);
            return true;
        });
    AddChoice(
        panel, Q("húzások"), Q("variáció"), "", "",
        [](const ConditionSet& s) { return s.hitRatio.fromDraws; },
        [this](bool on) { return m_editor.SetHitRatioFromDraws(on); });
    AddIntField(panel, Field::HitRatioMin, Q("Találat min.:"), "");
    AddIntField(panel, Field::HitRatioMax, Q("Találat max.:"), "");
    auto* grid = static_cast<QGridLayout*>(panel.frame->layout());
    m_hitRatioText = new QLabel(panel.frame);
    m_hitRatioDraws = new QPushButton(Q("Húzások száma..."), panel.frame);
    m_hitRatioDraws->setObjectName(QStringLiteral("hitRatioDraws"));
    grid->addWidget(m_hitRatioText, 3, 0, 1, 4);
    grid->addWidget(m_hitRatioDraws, 3, 4, 1, 2);
    panel.controls.push_back(m_hitRatioDraws);
    connect(m_hitRatioDraws, &QPushButton::clicked, this, [this] {
        if (m_links.chooseHitRatioDraws && m_links.chooseHitRatioDraws()) {
            Changed();
        }
    });
}

void TFeltetelek::BuildNumberGroups(Panel& panel) {
    AddIntField(panel, Field::NumberGroupCount, Q("Számcsoportok:"), "");
    auto* grid = static_cast<QGridLayout*>(panel.frame->layout());
    auto* slotText = new QLabel(Q("Számcsoport:"), panel.frame);
    m_groupSlot = new QSpinBox(panel.frame);
    m_groupSlot->setAccessibleName(Title(panel.condition) + Q(", Számcsoport"));
    slotText->setBuddy(m_groupSlot);
    grid->addWidget(slotText, 2, 2);
    grid->addWidget(m_groupSlot, 2, 3);
    panel.controls.push_back(slotText);
    panel.controls.push_back(m_groupSlot);
    connect(m_groupSlot, &QSpinBox::valueChanged, this, [this] {
        if (!m_refreshing) {
            Refresh();
        }
    });
    const char* labels[] = {"Első pozíció:", "Utolsó pozíció:", "Találat min.:", "Találat max.:"};
    for (int i = 0; i < 4; ++i) {
        auto* text = new QLabel(Q(labels[i]), panel.frame);
        auto* box = new QSpinBox(panel.frame);
        box->setKeyboardTracking(false);
        box->setAccessibleName(Title(panel.condition) + QStringLiteral(", ") +
                               Q(labels[i]).remove(QLatin1Char(':')));
        text->setBuddy(box);
        grid->addWidget(text, 3 + i / 2, (i % 2) * 2);
        grid->addWidget(box, 3 + i / 2, (i % 2) * 2 + 1);
        panel.controls.push_back(text);
        panel.controls.push_back(box);
        m_slotFields[static_cast<std::size_t>(i)] = box;
        connect(box, &QSpinBox::valueChanged, this, [this, i](int value) {
            if (!m_refreshing) {
                m_editor.SetSlotValue(m_groupSlot->value() - 1, static_cast<SlotField>(i), value);
                Changed();
            }
        });
    }
}

void TFeltetelek::BuildBottom(QWidget* bottom) {
    auto* grid = new QGridLayout(bottom);
    auto* pointsText = new QLabel(Q("Hibapont:"), bottom);
    m_errorPoints = new QSpinBox(bottom);
    m_errorPoints->setObjectName(QStringLiteral("HibapontBeEdit"));
    m_errorPoints->setKeyboardTracking(false);
    m_errorPoints->setAccessibleName(Q("Hibapont"));
    SetHint(m_errorPoints, " Variáció hibapontja. ");
    pointsText->setBuddy(m_errorPoints);
    m_ints.push_back({Field::ErrorPoints, m_errorPoints});
    connect(m_errorPoints, &QSpinBox::valueChanged, this,
            [this](int value) { IntChanged(Field::ErrorPoints, value); });
    grid->addWidget(pointsText, 0, 0);
    grid->addWidget(m_errorPoints, 0, 1);

    const auto option = [this, bottom](const char* text, const char* name) {
        auto* box = new QCheckBox(Q(text), bottom);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    m_frequency = option(" Gyakorisági eloszlás", "GyakorisagiEloszlasOptBontBox");
    m_optimised = option(" Optimalizált", "OptBontBox");
    m_overwrite = option(" Felülírás", "FelulirasBontBox");
    SetHint(m_overwrite, " Variáció felülírása. ");
    m_itemised = option(" Tételes", "FelulirasTetelesMod");
    m_withErrorPoints = option(" Hibapontos", "FelulirasHibapontMod");
    SetHint(m_withErrorPoints, " Hibapontos vagy hibapont nélküli felülírás. ");
    grid->addWidget(m_frequency, 0, 2, 1, 2);
    grid->addWidget(m_optimised, 0, 4, 1, 2);
    grid->addWidget(m_overwrite, 1, 0);
    connect(m_frequency, &QCheckBox::clicked, this, [this](bool on) {
        m_editor.SetFrequencyDistribution(on);
        Changed();
    });
    connect(m_optimised, &QCheckBox::clicked, this, [this](bool on) {
        m_editor.SetOptimised(on);
        Changed();
    });
    connect(m_overwrite, &QCheckBox::clicked, this, [this](bool on) {
        m_editor.SetOverwrite(on);
        Changed();
    });
    connect(m_itemised, &QCheckBox::clicked, this, [this](bool on) {
        m_set.options.itemised = on;
        Changed();
    });
    connect(m_withErrorPoints, &QCheckBox::clicked, this, [this](bool on) {
        m_set.options.overwriteWithErrorPoints = on;
        Changed();
    });
    const auto field = [this, bottom, grid](Field id, const char* label, int row, int column) {
        auto* box = new QSpinBox(bottom);
        box->setKeyboardTracking(false);
        box->setAccessibleName(Q(label));
        auto* text = new QLabel(Q(label), bottom);
        text->setBuddy(box);
        grid->addWidget(box, row, column);
        grid->addWidget(text, row, column + 1);
        m_ints.push_back({id, box});
        connect(box, &QSpinBox::valueChanged, this,
                [this, id](int value) { IntChanged(id, value); });
        return box;
    };
    field(Field::OverwriteHits, "találatos", 1, 1);
    grid->addWidget(m_itemised, 1, 3);
    field(Field::ItemisedFrom, "-", 2, 1);
    field(Field::ItemisedTo, "esetben", 2, 3);
    grid->addWidget(m_withErrorPoints, 1, 4);

    auto* buttons = new QHBoxLayout;
    m_start = new QPushButton(Q("Variáció"), bottom);
    m_start->setObjectName(QStringLiteral("BontasGomb"));
    m_exit = new QPushButton(Q("Kilépés"), bottom);
    m_exit->setObjectName(QStringLiteral("KilepesGomb"));
    m_clear = new QPushButton(Q("Törlés"), bottom);
    m_clear->setObjectName(QStringLiteral("TorlesGomb"));
    SetHint(m_clear, " Minden kijelölt feltétel törlése! ");
    buttons->addWidget(m_start);
    buttons->addWidget(m_exit);
    buttons->addWidget(m_clear);
    grid->addLayout(buttons, 3, 0, 1, 6);
    connect(m_start, &QPushButton::clicked, this, &TFeltetelek::StartClicked);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::close);
    connect(m_clear, &QPushButton::clicked, this, &TFeltetelek::ClearClicked);
}

// --- Showing ----------------------------------------------------------------------------------

void TFeltetelek::Update() {
    SetReadOnly(m_links.variationExists && m_links.variationExists() &&
                !(m_links.extensionMode && m_links.extensionMode()));
    if (!m_readOnly) {
        m_editor.FitActiveConditions(); // no field may show a value its record does not hold
    }
    Refresh();
}

std::vector<std::pair<Field, const QSpinBox*>> TFeltetelek::FieldControls() const {
    std::vector<std::pair<Field, const QSpinBox*>> controls;
    for (const IntControl& control : m_ints) {
        controls.emplace_back(control.field, control.box);
    }
    return controls;
}

void TFeltetelek::FeltetelStart(const QRect& anchor) {
    Update();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const bool narrow = screen != nullptr && screen->availableGeometry().width() < 801;
    if (narrow) {
        move(anchor.right() - width() - 20, anchor.top() + 70);
    } else {
        move(anchor.right() + 20, anchor.top() + 100);
    }
    show();
    raise();
    activateWindow();
}

void TFeltetelek::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_start->setFocus();
    FitPageHeight();
}

void TFeltetelek::closeEvent(QCloseEvent* event) {
    // A deviation minimum above its maximum or a fixed sum of the wrong parity keeps it open.
    if (!m_readOnly && !m_editor.OsszegEll()) {
        event->ignore();
        return;
    }
    m_editor.Close();
    QDialog::closeEvent(event);
}

void TFeltetelek::SetReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    setWindowTitle(Q(readOnly ? kReadOnlyCaption : kEditCaption));
    m_start->setText(Q(readOnly ? "Módosítás" : "Variáció"));
    SetHint(m_start, readOnly ? kModifyHint : kStartHint);
    for (int i = 0; i < m_pages->count(); ++i) {
        SetHint(m_pages->widget(i), readOnly ? kReadOnlyPageHint : "");
    }
}

void TFeltetelek::FitPageHeight() {
    // The page control is as high as the panels of the page in front, so the dialog shrinks
    // and grows with the page.
    QWidget* page = m_pages->currentWidget();
    const QMargins margins = page->layout()->contentsMargins();
    int height = m_pages->tabBar()->sizeHint().height() + 2 + 15 + margins.top() + margins.bottom();
    for (const Panel& panel : m_panels) {
        if (panel.frame->parentWidget() == page) {
            height += panel.frame->sizeHint().height() + 4 + page->layout()->spacing();
        }
    }
    m_pages->setFixedHeight(height);
    adjustSize();
}

// --- Changes ----------------------------------------------------------------------------------

void TFeltetelek::BoxClicked(Condition condition, bool checked) {
    m_editor.SetActive(condition, checked);
    Changed();
}

void TFeltetelek::IntChanged(Field field, int value) {
    if (m_refreshing) {
        return;
    }
    m_editor.SetValue(field, value);
    Changed();
}

void TFeltetelek::ChoiceClicked(const Choice& choice, bool on) {
    choice.set(on);
    Changed();
}

void TFeltetelek::Changed() {
    m_editor.FeltJelzoBeallitas();
    Refresh();
    emit conditionsChanged();
}

void TFeltetelek::StartClicked() {
    if (m_readOnly) {
        // "Módosítás": the variation goes (after its confirmation), the conditions may change.
        if (m_links.deleteVariation && m_links.deleteVariation()) {
            SetReadOnly(false);
            Refresh();
            emit conditionsChanged();
        }
        return;
    }
    if (m_editor.CheckBeforeGeneration()) {
        emit startRequested();
    }
}

void TFeltetelek::ClearClicked() {
    if (m_editor.ClearButtonClick()) {
        SetReadOnly(false);
    }
    Refresh();
    emit conditionsChanged();
}

// --- Showing the editor -----------------------------------------------------------------------

QCheckBox* TFeltetelek::ConditionBox(Condition condition) const {
    for (const Panel& panel : m_panels) {
        if (panel.condition == condition) {
            return panel.box;
        }
    }
    return nullptr;
}

void TFeltetelek::Refresh() {
    m_refreshing = true;
    for (const IntControl& control : m_ints) {
        const IntRange limits = m_editor.Limits(control.field);
        control.box->setRange(limits.minimum, std::max(limits.minimum, limits.maximum));
        control.box->setValue(m_editor.Value(control.field));
    }
    for (const Choice& choice : m_choices) {
        const bool on = choice.value(m_set);
        choice.on->setChecked(on);
        choice.off->setChecked(!on);
    }
    const RealRange deviation = m_editor.DeviationLimits();
    for (QDoubleSpinBox* box : {m_deviationMin, m_deviationMax}) {
        box->setRange(deviation.minimum, deviation.maximum);
    }
    m_deviationMin->setValue(m_set.deviation.minimum);
    m_deviationMax->setValue(m_set.deviation.maximum);
    m_hitRatioText->setText(ToQt(m_editor.HitRatioPageText()));
    m_spanLabel->setText(ToQt(m_editor.SpanLabel()));
    m_groupSlot->setRange(
        1, std::clamp(static_cast<int>(m_set.numberGroups.count), 1, kMaxNumberGroups));
    const int slot = m_groupSlot->value() - 1;
    const NumberGroupSlot& group = m_set.numberGroups.groups[static_cast<std::size_t>(slot)];
    const int values[] = {group.first, group.last, group.minHits, group.maxHits};
    for (int i = 0; i < 4; ++i) {
        QSpinBox* box = m_slotFields[static_cast<std::size_t>(i)];
        const IntRange limits = m_editor.SlotLimits(slot, static_cast<SlotField>(i));
        box->setRange(limits.minimum, std::max(limits.minimum, limits.maximum));
        box->setValue(values[i]);
    }
    for (const Panel& panel : m_panels) {
        RefreshPanel(panel);
    }
    RefreshBottom();
    RefreshHints();
    m_refreshing = false;
}

void TFeltetelek::RefreshPanel(const Panel& panel) {
    const bool active = IsActive(m_set, panel.condition);
    const bool available = panel.condition != Condition::HitRatio || m_editor.HitRatioAvailable();
    panel.box->setChecked(active);
    panel.box->setEnabled(!m_readOnly && available);
    SetHint(panel.box, active ? kDeleteHint : kSelectHint);
    for (QWidget* control : panel.controls) {
        control->setEnabled(!m_readOnly && active);
    }
}

void TFeltetelek::RefreshBottom() {
    const EngineOptions& options = m_set.options;
    const bool editable = !m_readOnly;
    m_errorPoints->setEnabled(editable);
    m_frequency->setChecked(options.frequencyDistribution);
    m_frequency->setEnabled(editable && m_editor.FrequencyDistributionEnabled());
    m_optimised->setChecked(options.optimised);
    m_optimised->setEnabled(editable && m_editor.OptimisedEnabled());
    m_overwrite->setChecked(options.overwrite);
    m_overwrite->setEnabled(editable && m_editor.OverwriteEnabled());
    const bool overwriting = editable && options.overwrite && m_editor.OverwriteEnabled();
    m_itemised->setChecked(options.itemised);
    m_withErrorPoints->setChecked(options.overwriteWithErrorPoints);
    m_itemised->setEnabled(overwriting);
    m_withErrorPoints->setEnabled(overwriting);
    for (const IntControl& control : m_ints) {
        if (control.field == Field::OverwriteHits) {
            control.box->setEnabled(overwriting);
        } else if (control.field == Field::ItemisedFrom || control.field == Field::ItemisedTo) {
            control.box->setEnabled(overwriting && options.itemised);
        }
    }
    m_clear->setEnabled(true);
}

void TFeltetelek::RefreshHints() {
    SetHint(m_clear, m_editor.ClearButtonHint());
    SetHint(m_optimised, m_editor.OptimisedHint());
    for (const IntControl& control : m_ints) {
        switch (control.field) {
        case Field::SumMin:
        case Field::SumMax:
            SetHint(control.box, m_editor.SumFieldHint());
            break;
        case Field::PrimesMin:
        case Field::PrimesMax: {
            std::string primes = " Prímszámok: \r";
            for (std::uint8_t n : m_editor.Context().variationNumbers) {
                if (IsPrimeNumber(n)) {
                    primes += " " + std::to_string(n) + " ";
                }
            }
            SetHint(control.box, primes);
            break;
        }
        case Field::SpanFirst:
        case Field::SpanLast: {
            const IntRange limits = m_editor.Limits(control.field);
            SetHint(control.box, std::string(control.field == Field::SpanFirst
                                                 ? " Tartomány első számának pozíciója"
                                                 : " Tartomány utolsó számának pozíciója") +
                                     kInPositionsHint +
                                     "\r Minimum: " + std::to_string(limits.minimum) + "\r" +
                                     " Maximum: " + std::to_string(limits.maximum) + " ");
            break;
        }
        case Field::NumberGroupCount:
            SetHint(control.box, NumberGroupsList(m_set.numberGroups));
            break;
        case Field::ItemisedFrom:
        case Field::ItemisedTo: {
            const EngineOptions& o = m_set.options;
            SetHint(control.box,
                    " Tételes, folyamatos leválogatása a(z) " + std::to_string(o.overwriteHits) +
                        " találati arányt elérő,\r" + std::to_string(o.itemisedFrom) + " - " +
                        std::to_string(o.itemisedTo) + " esetben előforduló számsoroknak. ");
            break;
        }
        default:
            break;
        }
    }
    for (const Choice& choice : m_choices) {
        if (choice.condition == Condition::Sum) {
            SetHint(choice.on, m_editor.SumFieldHint());
        }
    }
    SetHint(m_deviationMin, m_editor.DeviationHint());
    SetHint(m_deviationMax, m_editor.DeviationHint());
    const std::string group = std::to_string(m_groupSlot->value()) + ". számcsoport";
    const char* const slotHints[] = {" első számának pozíciója ", " utolsó számának pozíciója "};
    for (int i = 0; i < 2; ++i) {
        SetHint(m_slotFields[static_cast<std::size_t>(i)], group + slotHints[i] + kInPositionsHint);
    }
    SetHint(m_slotFields[2], group + "ból elérhető találatok minimuma. ");
    SetHint(m_slotFields[3], group + "ból elérhető találatok maximuma. ");
}

} // namespace velmora
