#pragma once

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QDialog>

#include "common/messages.h"
#include "draws/draw_ranges.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace velmora {

// An edit field with up-down arrows: the arrows stay within 1..stepMaximum, typing accepts any
// number of up to `digits` digits, so that the dialog can check and report it.
class RangeField : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit RangeField(QWidget* parent);

    void Configure(int stepMaximum, int digits);
    void SetValue(int value);
    QString Text() const;
    void SetText(const QString& text);
    // The text part, for those who watch its mouse.
    QLineEdit* Edit() const { return lineEdit(); }

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& position) const override;

signals:
    // The field's text changed, typed or set.
    void textChanged();

protected:
    StepEnabled stepEnabled() const override;

private:
    int Value() const;
    int m_stepMaximum = 1;
    int m_digits = 1;
};

// The draw range dialog: the first and last draw of the range kept for one purpose.
class THuzSzama : public QDialog {
    Q_OBJECT
public:
    THuzSzama(QWidget* parent, DrawRanges& ranges, Messages& messages);

    // Shows the dialog for a draw range (modes 1..3) over `drawCount` draws; true when the
    // user stored a new range.
    bool Open(RangeMode mode, int drawCount);
    // Prepares the fields without showing the dialog (Open does this first).
    void Prepare(RangeMode mode, int drawCount);
    // Shows the dialog for a range of variation rows (modes 4 and 5) over `rowCount` rows,
    // starting at `start`. In mode 4 the box deletes the last block instead, offered when
    // `lastBlock` is set. True when the user chose; the range is stored for the mode.
    bool OpenRows(RangeMode mode, int rowCount, DrawRange start, bool lastBlock);
    void PrepareRows(RangeMode mode, int rowCount, DrawRange start, bool lastBlock);
    // Mode 4's " Bővítmény törlése" was ticked.
    bool LastBlockChosen() const;

    RangeField* FirstField() const { return m_first; }
    RangeField* LastField() const { return m_last; }
    QCheckBox* AllDraws() const { return m_all; }
    // "Rendben": checks both fields, stores the range and closes; false when refused.
    bool Confirm();

private:
    void SetUp(RangeMode mode, int count, DrawRange range);
    bool CheckFirst();
    bool CheckLast();
    // The " Minden húzás" / " Minden számsor" box shows whether the fields hold the full range.
    void FollowFields();

    DrawRanges& m_ranges;
    Messages& m_messages;
    RangeMode m_mode = RangeMode::TicketStatistics;
    int m_count = 0;
    QLabel* m_title;
    QLabel* m_firstLabel;
    QLabel* m_lastLabel;
    RangeField* m_first;
    RangeField* m_last;
    QCheckBox* m_all;
    QPushButton* m_ok;
    bool m_checking = false;
};

} // namespace velmora
