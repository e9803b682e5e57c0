#pragma once

#include <string>

// Every message the program shows goes through this interface: the desktop program shows
// message boxes, the command-line tool prints to the terminal, tests script the answers.
// Texts use "\r" as the line break; a front end turns it into its own.
namespace velmora {

enum class MessageKind {
    Error,
    ErrorQuestion,
    RangeError,
    Warning,
    WarningQuestion,
    Confirmation,
    Question,
    ThreeWayQuestion,
    Information,
    Notice,
};

enum class Answer { Ok, Yes, No, Cancel };

// Where the please-wait window opens.
enum class WaitPosition { Centre, AtCursor };

// The caption of a message box of this kind, with its leading blank (" Hiba!").
const char* MessageCaption(MessageKind kind);

class Messages {
public:
    virtual ~Messages() = default;

    void Error(const std::string& text);
    bool ErrorQuestion(const std::string& text);
    void RangeError(const std::string& name, const std::string& minimum,
                    const std::string& maximum);
    void RangeError(const std::string& name, long long minimum, long long maximum);
    void Warning(const std::string& text);
    bool WarningQuestion(const std::string& text);
    // Answers Yes without showing anything while the "Approve" setting is off.
    bool Confirm(const std::string& text);
    bool Question(const std::string& text);
    Answer ThreeWayQuestion(const std::string& text);
    void Information(const std::string& text);
    // A one-time notice with the remind-next-time question. The answer goes into `remind`;
    // while the "Info" setting is off nothing is shown and `remind` keeps its value.
    void Notice(const std::string& text, bool& remind);

    // Composite messages.
    // subject: "a számsor", "a variáció", "az adatbázis" or "a " + path; action: "betöltése" or
    // "mentése".
    void FileError(const std::string& subject, const std::string& action);
    void BadFile(const std::string& fileName);
    void NoSpace();
    // Too little free memory (RAM) to finish the variation.
    void NoMemory();
    void MissingDraws();
    void InterruptedWarning(const std::string& text);
    bool InterruptedQuestion(const std::string& text);

    // One message of any kind, exactly as given: the "Approve" and "Info" settings are the
    // caller's business. For a front end that passes messages on to another one.
    Answer Show(MessageKind kind, const std::string& text) { return Present(kind, text); }

    // The please-wait window; a second show while it is up keeps the first text.
    virtual void ShowWait(const std::string& text, WaitPosition position) = 0;
    virtual void HideWait() = 0;

    void SetApprove(bool on) { m_approve = on; }
    void SetInfo(bool on) { m_info = on; }
    bool ApproveOn() const { return m_approve; }
    bool InfoOn() const { return m_info; }

protected:
    // Shows one message and returns the button pressed (Ok for the one-button kinds).
    virtual Answer Present(MessageKind kind, const std::string& text) = 0;

private:
    bool m_approve = true;
    bool m_info = true;
};

// Texts of the file layer, shared by every file reader and writer.
std::string OpenErrorText(const std::string& path);
std::string SaveErrorText(const std::string& path);
std::string CloseErrorText(const std::string& path);

} // namespace velmora
