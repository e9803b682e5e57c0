#include "dialogs/job_runner.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

namespace velmora {

// The job's messages: each is shown through the program's messages on the runner's thread
// while the worker waits for the answer.
class JobRunner::Forwarder : public Messages {
public:
    explicit Forwarder(JobRunner& runner) : m_runner(runner) {}

    void ShowWait(const std::string& text, WaitPosition position) override {
        m_runner.m_messages.ShowWait(text, position);
    }
    void HideWait() override { m_runner.m_messages.HideWait(); }

protected:
    Answer Present(MessageKind kind, const std::string& text) override {
        Answer answer = Answer::No;
        const auto show = [this, kind, &text, &answer] {
            emit m_runner.messageShown();
            m_runner.m_timer->stop();
            answer = m_runner.m_messages.Show(kind, text);
            if (m_runner.m_running) {
                m_runner.m_timer->start();
            }
            emit m_runner.messageClosed();
        };
        if (QThread::currentThread() == m_runner.thread()) {
            show();
        } else {
            QMetaObject::invokeMethod(&m_runner, show, Qt::BlockingQueuedConnection);
        }
        return answer;
    }

private:
    JobRunner& m_runner;
};

JobRunner::JobRunner(Messages& messages, QObject* parent)
    : QObject(parent), m_messages(messages), m_forwarder(std::make_unique<Forwarder>(*this)) {
    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &JobRunner::tick);
}

JobRunner::~JobRunner() {
    Abandon();
}

Messages& JobRunner::JobMessages() {
    return *m_forwarder;
}

void JobRunner::Start(std::function<void()> work, std::function<void(std::exception_ptr)> done) {
    // The settings of the program's messages hold for the job's too.
    m_forwarder->SetApprove(m_messages.ApproveOn());
    m_forwarder->SetInfo(m_messages.InfoOn());
    m_done = std::move(done);
    m_error = nullptr;
    m_running = true;
    m_workerActive = true;
    m_timer->start();
    const int run = ++m_run;
    m_worker = std::thread([this, run, work = std::move(work)] {
        try {
            work();
        } catch (...) {
            m_error = std::current_exception();
        }
        QMetaObject::invokeMethod(
            this, [this, run] { Finish(run); }, Qt::QueuedConnection);
        m_workerActive = false;
    });
}

void JobRunner::Finish(int run) {
    if (run != m_run) {
        return; // an abandoned run
    }
    if (m_worker.joinable()) {
        m_worker.join();
    }
    m_running = false;
    m_timer->stop();
    const std::exception_ptr error = m_error;
    m_error = nullptr;
    if (m_done) {
        m_done(error);
    }
}

void JobRunner::Abandon() {
    if (!m_worker.joinable()) {
        return;
    }
    ++m_run; // its end is not handed back
    // A question of the worker may be waiting for this thread: keep serving events until the
    // worker is back.
    while (m_workerActive) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    m_worker.join();
    m_running = false;
    m_timer->stop();
}

} // namespace velmora
