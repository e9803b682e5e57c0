#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "common/messages.h"
#include "game/game_catalogue.h"
#include "reports/slips.h"

class QCheckBox;
class QPainter;
class QPrinter;
class QRadioButton;
class QSpinBox;

namespace velmora {

// The print options of the slips: the forms to fill, the joker box, the serial texts, and for
// Keno the stake and the number of draws; the slips go to the printer after a preview, or to a
// PDF.
class TNyomtOpc : public QDialog {
    Q_OBJECT
public:
    TNyomtOpc(Messages& messages, QWidget* parent);

    // Prepares the dialog for `rows` (each row's numbers with the fixed numbers) of `game`.
    void Prepare(const GameInfo& game, std::vector<std::vector<int>> rows);
    SlipOptions Options() const;
    QSpinBox* FromField() const { return m_from; }
    QSpinBox* ToField() const { return m_to; }
    QSpinBox* DrawsField() const { return m_draws; }
    QCheckBox* FiveWeeksBox() const { return m_fiveWeeks; }
    QCheckBox* ExtraJokerBox() const { return m_extraJoker; }
    QRadioButton* JokerButton(Joker joker) const;

    // The forms of the chosen range, after the checks (false after the message).
    bool ChosenForms(std::vector<SlipPage>& pages, bool testPage);
    // "PDF...": the chosen forms to `path`; false after the message.
    bool SavePdf(const std::string& path, bool testPage = false);
    // "Nyomtatás" and "Tesztoldal nyomtatása": a preview, then the printer.
    void Print(bool testPage);
    // Paints the forms on a printer at their millimetres; false after the message when the
    // paper or the printer's margins cannot take them.
    bool PaintForms(QPrinter& printer, const std::vector<SlipPage>& pages);
    // Where "PDF..." writes: asked of the user unless a test puts an answer here.
    std::function<std::string()> choosePdf;
    // The folder the file dialog offers first (ends with '/'; empty: the working folder).
    std::string pdfFolder;

private:
    std::string ChoosePdfPath();
    void DrawsEdited();

    Messages& m_messages;
    GameInfo m_game;
    std::vector<std::vector<int>> m_rows;
    QRadioButton* m_jokers[3] = {};
    QCheckBox* m_numbering = nullptr;
    QSpinBox* m_stake = nullptr;
    QSpinBox* m_draws = nullptr;
    QCheckBox* m_fiveWeeks = nullptr;
    QCheckBox* m_extraJoker = nullptr;
    QSpinBox* m_from = nullptr;
    QSpinBox* m_to = nullptr;
};

} // namespace velmora
