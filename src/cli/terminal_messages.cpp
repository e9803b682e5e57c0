#include "cli/terminal_messages.h"

#include <ostream>

namespace velmora {

std::string TerminalText(const std::string& text) {
    std::string result = text;
    for (char& c : result) {
        if (c == '\r') {
            c = '\n';
        }
    }
    return result;
}

void TerminalMessages::ShowWait(const std::string& text, WaitPosition /*position*/) {
    m_out << text << "...\n";
}

Answer TerminalMessages::Present(MessageKind kind, const std::string& text) {
    // The captions carry a leading blank for the message boxes; a terminal line starts clean.
    std::string caption = MessageCaption(kind);
    if (!caption.empty() && caption.front() == ' ') {
        caption.erase(0, 1);
    }
    m_out << caption << ": " << TerminalText(text) << "\n";
    switch (kind) {
    case MessageKind::Error:
    case MessageKind::RangeError:
    case MessageKind::Warning:
    case MessageKind::Information:
        return Answer::Ok;
    default:
        return m_answerYes ? Answer::Yes : Answer::No;
    }
}

} // namespace velmora
