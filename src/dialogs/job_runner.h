#pragma once

#include <QObject>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

#include "common/messages.h"

class QTimer;

namespace velmora {

// Runs a window's long job (generation, test, statistics, ...) on a worker thread: a tick every
// second while it runs, so that the window can show the job's counters; the job's messages
// shown on the window's thread, with a signal before and after each, so that the window can
// rest its buttons while the user reads; and the end handed back to the window's thread. The
// runner never outlives its worker.
class JobRunner : public QObject {
    Q_OBJECT
public:
    // Messages of the job reach `messages` on the thread that creates the runner.
    explicit JobRunner(Messages& messages, QObject* parent = nullptr);
    ~JobRunner() override;

    // The messages the job must use (give them to the job before it starts).
    Messages& JobMessages();

    // Runs `work` on a worker thread; once it has returned, `done` runs on the runner's thread
    // with what the work threw, if anything.
    void Start(std::function<void()> work, std::function<void(std::exception_ptr)> done);
    // From Start until `done` has begun.
    bool Running() const { return m_running; }
    // Waits until the worker has returned, answering the questions it asks meanwhile; `done`
    // will not run. For a window that goes away while its job runs (stop the job first).
    void Abandon();

signals:
    // Every second while the job runs and no message of it is open.
    void tick();
    void messageShown();
    void messageClosed();

private:
    class Forwarder;
    void Finish(int run);

    Messages& m_messages;
    std::unique_ptr<Forwarder> m_forwarder;
    QTimer* m_timer = nullptr;
    std::thread m_worker;
    std::atomic<bool> m_workerActive{false};
    std::exception_ptr m_error;
    std::function<void(std::exception_ptr)> m_done;
    bool m_running = false;
    int m_run = 0; // counts the runs, so that the end of an abandoned one is ignored
};

} // namespace velmora
