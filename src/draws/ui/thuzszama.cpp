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

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Első húzás"), this), 0, 0);
    grid->addWidget(m_first, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Utolsó húzás"), this), 1, 0);
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
        if (on) {
            m_first->SetValue(1);
            m_last->SetValue(m_count);
        }
    });
    connect(m_ok, &QPushButton::clicked, this, [this] { Confirm(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void THuzSzama::Prepare(RangeMode mode, int drawCount) {
    m_mode = mode;
    m_count = drawCount;
    m_title->setText(QString::fromUtf8(RangeModeTitle(mode)));
    const int digits = static_cast<int>(QString::number(drawCount).size());
    m_first->Configure(drawCount - 1, digits);
    m_last->Configure(drawCount, digits);
    const DrawRange range = m_ranges.Get(mode);
    m_first->SetValue(range.first);
    m_last->SetValue(range.last);
    m_first->setToolTip(ToQt(" Minimum  : 1 \r Maximum : " + std::to_string(drawCount - 1)));
    m_last->setToolTip(ToQt(" Minimum  : 2\r Maximum : " + std::to_string(drawCount)));
    const QSignalBlocker block(m_all);
    m_all->setChecked(range.first == 1 && range.last == drawCount);
}

bool THuzSzama::Open(RangeMode mode, int drawCount) {
    Prepare(mode, drawCount);
    return exec() == QDialog::Accepted;
}

bool THuzSzama::CheckFirst() {
    // A check that is already reporting does not start another (the box takes the focus).
    if (m_checking) {
        return true;
    }
    m_checking = true;
    // Only an open dialog reports; a hidden one still corrects its fields.
    const FieldCheck check =
        CheckFirstField(m_first->Text().toStdString(), m_count - 1, m_last->Text().toInt(), m_mode,
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
                                            m_count, m_messages, isVisible());
    m_last->SetValue(check.value);
    m_checking = false;
    return check.valid;
}

bool THuzSzama::Confirm() {
    if (!CheckFirst() || !CheckLast()) {
        return false;
    }
    m_ranges.Set(m_mode, {m_first->Text().toInt(), m_last->Text().toInt()});
    accept();
    return true;
}

} // namespace velmora
