#include "draws/ui/thuzszama.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

#include "ticket/qt_colours.h"

namespace velmora {

RangeField::RangeField(QWidget* parent) : QAbstractSpinBox(parent) {
    setAlignment(Qt::AlignRight);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    connect(lineEdit(), &QLineEdit::textChanged, this, &RangeField::textChanged);
}

void RangeField::Configure(int stepMaximum, int digits) {
    m_stepMaximum = std::max(stepMaximum, 1);
    m_digits = std::max(digits, 1);
}

int RangeField::Value() const {
    bool ok = false;
    const int value = lineEdit()->text().toInt(&ok);
    return ok ? value : 0;
}

void RangeField::SetValue(int value) {
    lineEdit()->setText(QString::number(value));
}

QString RangeField::Text() const {
    return lineEdit()->text();
}

void RangeField::SetText(const QString& text) {
    lineEdit()->setText(text);
}

void RangeField::stepBy(int steps) {
    SetValue(std::clamp(Value() + steps, 1, m_stepMaximum));
}

QAbstractSpinBox::StepEnabled RangeField::stepEnabled() const {
    StepEnabled enabled = StepNone;
    if (Value() < m_stepMaximum) {
        enabled |= StepUpEnabled;
    }
    if (Value() > 1) {
        enabled |= StepDownEnabled;
    }
    return enabled;
}

QValidator::State RangeField::validate(QString& input, int& /*position*/) const {
    if (input.size() > m_digits) {
        return QValidator::Invalid;
    }
    for (const QChar c : input) {
        if (!c.isDigit()) {
            return QValidator::Invalid;
        }
    }
    return QValidator::Acceptable;
}

THuzSzama::THuzSzama(QWidget* parent, DrawRanges& ranges, Messages& messages)
    : QDialog(parent), m_ranges(ranges), m_messages(messages) {
    setObjectName(QStringLiteral("THuzSzama"));
    setWindowTitle(QStringLiteral("  Húzások száma"));
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("modeTitle"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_first = new RangeField(this);
    m_first->setObjectName(QStringLiteral("firstField"));
    m_last = new RangeField(this);
    m_last->setObjectName(QStringLiteral("lastField"));
    m_all = new QCheckBox(QStringLiteral(" Minden húzás"), this);
    m_all->setObjectName(QStringLiteral("allDraws"));
    m_ok = new QPushButton(QStringLiteral("Rendben"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Mégse"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));

    m_firstLabel = new QLabel(QStringLiteral("Első húzás"), this);
    m_firstLabel->setBuddy(m_first);
    m_lastLabel = new QLabel(QStringLiteral("Utolsó húzás"), this);
    m_lastLabel->setBuddy(m_last);
    auto* grid = new QGridLayout;
    grid->addWidget(m_firstLabel, 0, 0);
    grid->addWidget(m_first, 0, 1);
    grid->addWidget(m_lastLabel, 1, 0);
    grid->addWidget(m_last, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addLayout(grid);
    layout->addWidget(m_all);
    layout->addLayout(buttons);

    connect(m_first, &QAbstractSpinBox::editingFinished, this, [this] { CheckFirst(); });
    connect(m_last, &QAbstractSpinBox::editingFinished, this, [this] { CheckLast(); });
    connect(m_all, &QCheckBox::toggled, this, [this](bool on) {
        // Mode 4's box chooses the last block: the fields do not count then.
        if (m_mode == RangeMode::DeleteRows) {
            m_first->setEnabled(!on);
            m_last->setEnabled(!on);
        } else if (on) {
            m_first->SetValue(1);
            m_last->SetValue(m_count);
        }
    });
    connect(m_first, &RangeField::textChanged, this, &THuzSzama::FollowFields);
    connect(m_last, &RangeField::textChanged, this, &THuzSzama::FollowFields);
    connect(m_ok, &QPushButton::clicked, this, [this] { Confirm(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void THuzSzama::Prepare(RangeMode mode, int drawCount) {
    if (IsRowRange(mode)) {
        PrepareRows(mode, drawCount, m_ranges.Get(mode), false);
        return;
    }
    const DrawRange range = m_ranges.Get(mode);
    SetUp(mode, drawCount, range);
    const QSignalBlocker block(m_all);
    m_all->setChecked(range.first == 1 && range.last == drawCount);
}

void THuzSzama::SetUp(RangeMode mode, int count, DrawRange range) {
    m_mode = mode;
    m_count = count;
    const bool rows = IsRowRange(mode);
    setWindowTitle(rows ? (mode == RangeMode::DeleteRows ? QStringLiteral("  Számsorok törlése")
                                                         : QStringLiteral("  Számsorok hozzáadása"))
                        : QStringLiteral("  Húzások száma"));
    m_title->setText(QString::fromUtf8(RangeModeTitle(mode)));
    m_firstLabel->setText(rows ? QStringLiteral("Első számsor ") : QStringLiteral("Első húzás"));
    m_lastLabel->setText(rows ? QStringLiteral("Utolsó számsor ") : QStringLiteral("Utolsó húzás"));
    m_all->setText(mode == RangeMode::DeleteRows ? QStringLiteral(" Bővítmény törlése")
                   : rows                        ? QStringLiteral(" Minden számsor")
                                                 : QStringLiteral(" Minden húzás"));
    // A range of rows may be a single row; a range of draws holds two at least.
    const int firstMaximum = rows ? count : count - 1;
    const int digits = static_cast<int>(QString::number(count).size());
    m_first->Configure(firstMaximum, digits);
    m_last->Configure(count, digits);
    m_first->SetValue(range.first);
    m_last->SetValue(range.last);
    m_first->setEnabled(true);
    m_last->setEnabled(true);
    m_all->setEnabled(true);
    m_first->setToolTip(ToQt(" Minimum  : 1 \r Maximum : " + std::to_string(firstMaximum)));
    m_last->setToolTip(ToQt(std::string(" Minimum  : ") + (rows ? "1" : "2") +
                            "\r Maximum : " + std::to_string(count)));
    m_first->setAccessibleName(m_firstLabel->text().trimmed());
    m_last->setAccessibleName(m_lastLabel->text().trimmed());
}

void THuzSzama::PrepareRows(RangeMode mode, int rowCount, DrawRange start, bool lastBlock) {
    const int count = std::max(rowCount, 1);
    start.first = std::clamp(start.first, 1, count);
    start.last = std::clamp(start.last, start.first, count);
    SetUp(mode, count, start);
    const QSignalBlocker block(m_all);
    if (mode == RangeMode::DeleteRows) {
        m_all->setChecked(false);
        m_all->setEnabled(lastBlock);
    } else {
        m_all->setChecked(start.first == 1 && start.last == count);
    }
}

bool THuzSzama::OpenRows(RangeMode mode, int rowCount, DrawRange start, bool lastBlock) {
    PrepareRows(mode, rowCount, start, lastBlock);
    return exec() == QDialog::Accepted;
}

bool THuzSzama::LastBlockChosen() const {
    return m_mode == RangeMode::DeleteRows && m_all->isChecked();
}

bool THuzSzama::Open(RangeMode mode, int drawCount) {
    Prepare(mode, drawCount);
    return exec() == QDialog::Accepted;
}

void THuzSzama::FollowFields() {
    // Mode 4's box chooses the last block, not a range.
    if (m_mode == RangeMode::DeleteRows) {
        return;
    }
    const QSignalBlocker block(m_all);
    m_all->setChecked(m_first->Text().toInt() == 1 && m_last->Text().toInt() == m_count);
}

bool THuzSzama::CheckFirst() {
    // A check that is already reporting does not start another (the box takes the focus).
    if (m_checking) {
        return true;
    }
    m_checking = true;
    // Only an open dialog reports; a hidden one still corrects its fields.
    const int maximum = IsRowRange(m_mode) ? m_count : m_count - 1;
    const FieldCheck check =
        CheckFirstField(m_first->Text().toStdString(), maximum, m_last->Text().toInt(), m_mode,
                        m_messages, isVisible());
    m_first->SetValue(check.value);
    m_checking = false;
    return check.valid;
}

bool THuzSzama::CheckLast() {
    if (m_checking) {
        return true;
    }
    m_checking = true;
    const FieldCheck check = CheckLastField(m_last->Text().toStdString(), m_first->Text().toInt(),
                                            m_count, m_mode, m_messages, isVisible());
    m_last->SetValue(check.value);
    m_checking = false;
    return check.valid;
}

bool THuzSzama::Confirm() {
    if (LastBlockChosen()) {
        accept();
        return true;
    }
    if (!CheckFirst() || !CheckLast()) {
        return false;
    }
    m_ranges.Set(m_mode, {m_first->Text().toInt(), m_last->Text().toInt()});
    accept();
    return true;
}

} // namespace velmora
