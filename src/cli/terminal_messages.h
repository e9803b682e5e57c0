#pragma once

#include <iosfwd>

#include "common/messages.h"

namespace velmora {

// Messages for the command-line tool: "caption: text" on the error stream; questions are
// answered Yes only when the user said so on the command line (--yes).
class TerminalMessages : public Messages {
public:
    TerminalMessages(std::ostream& out, bool answerYes) : m_out(out), m_answerYes(answerYes) {}

    void ShowWait(const std::string& text, WaitPosition position) override;
    void HideWait() override {}

protected:
    Answer Present(MessageKind kind, const std::string& text) override;

private:
    std::ostream& m_out;
    bool m_answerYes;
};

// "\r" line breaks as newlines.
std::string TerminalText(const std::string& text);

} // namespace velmora
