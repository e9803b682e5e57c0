#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "common/messages.h"

namespace velmora::testing {

// Records every message and answers questions from a queue (No when the queue is empty).
class FakeMessages : public Messages {
public:
    struct Shown {
        MessageKind kind;
        std::string text;
    };

    void QueueAnswer(Answer answer) { m_answers.push_back(answer); }
    void QueueAnswers(std::initializer_list<Answer> answers) {
        m_answers.insert(m_answers.end(), answers);
    }

    const std::vector<Shown>& Log() const { return m_log; }
    std::size_t Count() const { return m_log.size(); }
    const Shown& Last() const { return m_log.back(); }
    std::string LastText() const { return m_log.empty() ? std::string() : m_log.back().text; }
    std::size_t PendingAnswers() const { return m_answers.size(); }
    void Clear() { m_log.clear(); }
    // Runs before each message is answered (a test can press a button meanwhile).
    std::function<void(const Shown&)> onPresent;

    void ShowWait(const std::string& text, WaitPosition /*position*/) override {
        m_waitTexts.push_back(text);
    }
    void HideWait() override { ++m_waitHides; }

    const std::vector<std::string>& WaitTexts() const { return m_waitTexts; }
    int WaitHides() const { return m_waitHides; }

protected:
    Answer Present(MessageKind kind, const std::string& text) override {
        m_log.push_back({kind, text});
        if (onPresent) {
            onPresent(m_log.back());
        }
        const bool oneButton = kind == MessageKind::Error || kind == MessageKind::RangeError ||
                               kind == MessageKind::Warning || kind == MessageKind::Information;
        if (oneButton) {
            return Answer::Ok;
        }
        if (m_answers.empty()) {
            return Answer::No;
        }
        const Answer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

private:
    std::vector<Shown> m_log;
    std::deque<Answer> m_answers;
    std::vector<std::string> m_waitTexts;
    int m_waitHides = 0;
};

} // namespace velmora::testing
