#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <vector>

#include "conditions/condition_editor.h"

class QAbstractButton;
class QCheckBox;
class QDoubleSpinBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace velmora {

// The conditions dialog: the fifteen conditions on six pages, the error points and the engine
// options below them. Every control is a view of the condition editor: a change goes to the
// editor, then every control shows the editor's values and limits again.
class TFeltetelek : public QDialog {
    Q_OBJECT
public:
    // What the dialog asks of the rest of the program.
    struct Links {
        // Whether a variation exists and whether it is being extended.
        std::function<bool()> variationExists;
        std::function<bool()> extensionMode;
        // The variation's delete question and deletion; true when the variation is gone.
        std::function<bool()> deleteVariation;
        // The draw range dialog for the hit ratio; true when a new range was chosen.
        std::function<bool()> chooseHitRatioDraws;
    };

    TFeltetelek(ConditionEditor& editor, ConditionSet& set, Links links, QWidget* parent);

    // FeltetelStart: prepares for the current ticket (the caller has prepared the editor) and
    // shows the dialog beside `anchor`, the main ticket's area in global coordinates.
    void FeltetelStart(const QRect& anchor);
    // Editable, or read-only while a variation exists outside extension mode.
    bool ReadOnly() const { return m_readOnly; }
    // Every control from the editor.
    void Refresh();
    // After a change of the ticket or the variation while the dialog is open (the caller has
    // prepared the editor again): the mode and every control.
    void Update();
    // Each integer field with the control that shows it.
    std::vector<std::pair<Field, const QSpinBox*>> FieldControls() const;

    QTabWidget* Pages() const { return m_pages; }
    QCheckBox* ConditionBox(Condition condition) const;
    QPushButton* StartButton() const { return m_start; }
    QPushButton* ClearButton() const { return m_clear; }
    QSpinBox* ErrorPointsField() const { return m_errorPoints; }

signals:
    // "Variáció" passed the checks before generation.
    void startRequested();
    // A condition, the error points or an option changed.
    void conditionsChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // A field that shows and sets one integer of the editor.
    struct IntControl {
        Field field;
        QSpinBox* box;
    };
    // A choice of two radio buttons for one flag.
    struct Choice {
        Condition condition;
        QRadioButton* on;
        QRadioButton* off;
        bool (*value)(const ConditionSet&);
        std::function<bool(bool)> set; // returns whether the choice was taken
    };
    struct Panel {
        Condition condition;
        QFrame* frame;
        QCheckBox* box;
        std::vector<QWidget*> controls;
    };

    void BuildPages();
    void BuildBottom(QWidget* bottom);
    Panel& AddPanel(QWidget* page, Condition condition);
    QSpinBox* AddIntField(Panel& panel, Field field, const QString& label, const char* hint);
    void AddChoice(Panel& panel, const QString& onText, const QString& offText, const char* onHint,
                   const char* offHint, bool (*value)(const ConditionSet&),
                   std::function<bool(bool)> set);
    void BuildDeviation(Panel& panel);
    void BuildHitRatio(Panel& panel);
    void BuildNumberGroups(Panel& panel);

    void BoxClicked(Condition condition, bool checked);
    void IntChanged(Field field, int value);
    void ChoiceClicked(const Choice& choice, bool on);
    void Changed();
    void StartClicked();
    void ClearClicked();
    void SetReadOnly(bool readOnly);
    void FitPageHeight();

    void RefreshPanel(const Panel& panel);
    void RefreshBottom();
    void RefreshHints();

    ConditionEditor& m_editor;
    ConditionSet& m_set;
    Links m_links;
    bool m_readOnly = false;
    bool m_refreshing = false;

    QTabWidget* m_pages = nullptr;
    std::vector<Panel> m_panels;
    std::vector<IntControl> m_ints;
    std::vector<Choice> m_choices;
    QDoubleSpinBox* m_deviationMin = nullptr;
    QDoubleSpinBox* m_deviationMax = nullptr;
    QLabel* m_hitRatioText = nullptr;
    QPushButton* m_hitRatioDraws = nullptr;
    QLabel* m_spanLabel = nullptr;
    QSpinBox* m_groupSlot = nullptr;
    std::array<QSpinBox*, 4> m_slotFields{};
    QSpinBox* m_errorPoints = nullptr;
    QCheckBox* m_frequency = nullptr;
    QCheckBox* m_optimised = nullptr;
    QCheckBox* m_overwrite = nullptr;
    QCheckBox* m_itemised = nullptr;
    QCheckBox* m_withErrorPoints = nullptr;
    QWidget* m_bottom = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_exit = nullptr;
    QPushButton* m_clear = nullptr;
};

} // namespace velmora
