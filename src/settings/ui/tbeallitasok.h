#pragma once

#include <QColor>
#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "common/messages.h"
#include "game/game_catalogue.h"
#include "game/ticket_appearance.h"
#include "settings/folders.h"
#include "settings/settings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;

namespace velmora {

class TicketSample;

// The program settings: general behaviour and the ticket price, the colours and sizes of the
// six ticket grids in two schemes, and the largest variation. It edits a working copy of the
// settings; "Alkalmaz" puts it into the running program, "Mentés" also writes Velmora.ini.
class TBeallitasok : public QDialog {
    Q_OBJECT
public:
    // The colour elements of a ticket, in the order the element list shows them.
    static constexpr int kElementCount = 11;
    // The largest variation moves in steps of this many rows.
    static constexpr long long kVariationStep = 100000;

    TBeallitasok(Settings& settings, const ProgramFolders& folders, Messages& messages,
                 QWidget* parent);
    ~TBeallitasok() override;

    // Loads the working copy from the live settings for `game` and shows the dialog modally.
    void BeallitasokStart(const GameInfo& game);
    // The loading half of BeallitasokStart.
    void Load(const GameInfo& game);
    // "Alkalmaz": the working copy into the live settings, then `applied`.
    void Apply();
    // "Mentés": Apply, then Velmora.ini; false when the file could not be written.
    bool Save();

    // The appearance slot an element of the element list edits.
    static int ElementSlot(int element);
    // Whether a ticket kind draws an element at all.
    static bool TicketUsesElement(int kind, int element);
    // The rows the largest-variation bar stands for at its current position.
    long long LargestVariation() const;
    const TicketAppearance& WorkingAppearance() const { return m_appearance; }

    // "»": asks for a colour; QColorDialog unless a test puts something here.
    std::function<std::optional<QColor>(const QColor&)> chooseColour;

signals:
    // The live settings changed: the program's windows follow them.
    void applied();

private:
    QWidget* BuildGeneralPage();
    QWidget* BuildTicketPage();
    QWidget* BuildVariationPage();
    int Kind() const;
    int Scheme() const;
    std::int32_t& WorkingSlot(int slot);
    std::int32_t ShownSlot(int slot) const;
    // The controls of the Szelvények page from the working copy.
    void ShowTicket();
    void ShowColour();
    void ShowSample();
    void OnSchemeClicked();
    void OnTicketChosen(int kind);
    void OnElementChosen(int element);
    void OnColourChosen(int index);
    void OnMoreColours();
    void OnSizeChanged();
    void OnCurrencyChanged(int currency);
    // The edited price into the working copy; a refused one returns to the stored price.
    bool CommitPrice();
    void ShowPrice();
    void OnApprovalToggled(bool on);
    void OnBarMoved(int position);
    void UpdateNoticeSwitch();
    void PrinterSetup();

    Settings& m_settings;
    ProgramFolders m_folders;
    Messages& m_messages;
    GameInfo m_game;
    long long m_fullVariation = 0;
    TicketAppearance m_appearance{};
    std::array<double, kCurrencyCount> m_prices{};
    int m_shownCurrency = 0;
    int m_element = 0;
    bool m_loading = false;
    bool m_committing = false;

    QTabWidget* m_pages = nullptr;
    QCheckBox* m_approve = nullptr;
    QCheckBox* m_saveOnExit = nullptr;
    QCheckBox* m_hints = nullptr;
    QCheckBox* m_info = nullptr;
    QCheckBox* m_allNotices = nullptr;
    QCheckBox* m_backupKind = nullptr;
    QCheckBox* m_newVersion = nullptr;
    QLineEdit* m_price = nullptr;
    QLineEdit* m_host = nullptr;
    QLineEdit* m_operator = nullptr;
    QComboBox* m_currency = nullptr;
    QPushButton* m_printerSetup = nullptr;
    QRadioButton* m_defaultScheme = nullptr;
    QRadioButton* m_favouriteScheme = nullptr;
    QListWidget* m_tickets = nullptr;
    QComboBox* m_elements = nullptr;
    QComboBox* m_colours = nullptr;
    QPushButton* m_moreColours = nullptr;
    QSpinBox* m_boxSize = nullptr;
    QSpinBox* m_numberSize = nullptr;
    TicketSample* m_sample = nullptr;
    QSlider* m_largest = nullptr;
    QLabel* m_largestText = nullptr;
    QLabel* m_memoryWarning = nullptr;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace velmora
