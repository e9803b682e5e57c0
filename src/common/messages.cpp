#include "common/messages.h"

namespace velmora {

const char* MessageCaption(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error:
    case MessageKind::ErrorQuestion:
    case MessageKind::RangeError:
        return " Hiba!";
    case MessageKind::Warning:
    case MessageKind::WarningQuestion:
        return " Figyelmeztetés!";
    case MessageKind::Confirmation:
    case MessageKind::Question:
    case MessageKind::ThreeWayQuestion:
        return " Jóváhagyás kérése";
    case MessageKind::Information:
        return " Információ";
    case MessageKind::Notice:
        return " Hasznos információ";
    }
    return "";
}

void Messages::Error(const std::string& text) {
    Present(MessageKind::Error, text);
}

bool Messages::ErrorQuestion(const std::string& text) {
    return Present(MessageKind::ErrorQuestion, text) == Answer::Yes;
}

void Messages::RangeError(const std::string& name, const std::string& minimum,
                          const std::string& maximum) {
    Present(MessageKind::RangeError, "Érvénytelen paraméter.\r\r" + name + " értékhatárok:\r" +
                                         "    - minimum : " + minimum + "\r" +
                                         "    - maximum: " + maximum);
}

void Messages::RangeError(const std::string& name, long long minimum, long long maximum) {
    RangeError(name, std::to_string(minimum), std::to_string(maximum));
}

void Messages::Warning(const std::string& text) {
    Present(MessageKind::Warning, text);
}

bool Messages::WarningQuestion(const std::string& text) {
    return Present(MessageKind::WarningQuestion, text) == Answer::Yes;
}

bool Messages::Confirm(const std::string& text) {
    if (!m_approve) {
        return true;
    }
    return Present(MessageKind::Confirmation, text) == Answer::Yes;
}

bool Messages::Question(const std::string& text) {
    return Present(MessageKind::Question, text) == Answer::Yes;
}

Answer Messages::ThreeWayQuestion(const std::string& text) {
    return Present(MessageKind::ThreeWayQuestion, text);
}

void Messages::Information(const std::string& text) {
    Present(MessageKind::Information, text);
}

void Messages::Notice(const std::string& text, bool& remind) {
    if (!m_info) {
        return;
    }
    remind = Present(MessageKind::Notice,
                     text + "\r\rErre legközelebb is emlékeztesse a program?") == Answer::Yes;
}

void Messages::FileError(const std::string& subject, const std::string& action) {
    Error("Hiba történt " + subject + " állományának " + action + " során.");
}

void Messages::BadFile(const std::string& fileName) {
    Error("Érvénytelen, sérült vagy foglalt állomány.\rBetöltése nem lehetséges.\r\r" + fileName);
}

void Messages::NoSpace() {
    Error("Nincs elég szabad hely a kiválasztott meghajtón.");
}

void Messages::NoMemory() {
    Error("Nincs elegendő szabad memória (RAM) a variáció befejezéséhez.");
}

void Messages::MissingDraws() {
    Error("A kijelölt állomány a húzások listájára hivatkozik.\r\rA húzások listája hiányzik.");
}

void Messages::InterruptedWarning(const std::string& text) {
    Warning("Megszakított, nem befejezett variáció.\r\r" + text);
}

bool Messages::InterruptedQuestion(const std::string& text) {
    return WarningQuestion("Megszakított, nem befejezett variáció.\r\r" + text);
}

std::string OpenErrorText(const std::string& path) {
    return "Hiba történt a(z) " + path + " megnyitása során.";
}

std::string SaveErrorText(const std::string& path) {
    return "Hiba történt a(z) " + path + " mentése során.";
}

std::string CloseErrorText(const std::string& path) {
    return "Hiba történt a(z) " + path + " lezárása során.";
}

} // namespace velmora
