#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace velmora {

class Session;

// The variation information window: the condition report of the current variation, read
// only, printed to "infolist.rtf" or on paper, with the way on to the test and the statistics.
class TInfo : public QDialog {
    Q_OBJECT
public:
    TInfo(Session& session, QWidget* parent);

    // Builds the report of the current variation and shows it.
    void Start();
    // Empties the report and closes.
    void Clear();
    QString Text() const;
    // "Nyomtatás": the three-way question, then the file or the paper.
    void NyomtatasGombClick();
    // Writes the report to the list folder's "infolist.rtf"; false after the message.
    bool PrintToFile();
    // Opens a written file; the desktop's program for it unless a test puts something here.
    std::function<void(const std::string&)> openFile;
    // Prints on paper; the system's print dialog unless a test puts something here.
    std::function<void(const std::vector<std::string>&)> printOnPaper;

signals:
    void testRequested();
    void statisticsRequested();

private:
    Session& m_session;
    QPlainTextEdit* m_text = nullptr;
    QPushButton* m_test = nullptr;
    QLabel* m_bound = nullptr; // the lower bound of an error-point variation
};

} // namespace velmora
