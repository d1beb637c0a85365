#pragma once
// Worker threads of the class library. Execute runs on a thread of its own;
// Synchronize hands a method to the GUI thread through the window system's
// queue and waits until it has run there; OnTerminate runs on the GUI
// thread when Execute is done. A thread that frees itself on termination
// deletes itself after that; any other is ended by its owner (the
// destructor terminates it and waits).

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/classlib/Objects.h"

namespace tarvel {

class EThread : public Exception {
public:
    using Exception::Exception;
};

using TThreadMethod = std::function<void()>;

class TThread : public TObject {
    TARVEL_CLASS(TThread, TObject)

public:
    // Made suspended: Start runs it (a thread cannot start before the
    // derived class is made).
    TThread() = default;
    // Terminates the thread and waits for it, unless it is the thread
    // itself freeing itself.
    ~TThread() override;

    // Starts Execute; EThread when it ran already.
    void Start();
    // Asks Execute to stop: it reads Terminated() and returns.
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    // Execute and OnTerminate are done.
    bool Finished() const { return finished_; }

    // Waits until the thread has finished and answers its ReturnValue. On
    // the GUI thread it keeps running what the thread synchronizes, so a
    // thread waiting in Synchronize is not stuck. EThread for a thread that
    // frees itself or was never started.
    int WaitFor();

    bool FreeOnTerminate() const { return freeOnTerminate_; }
    void SetFreeOnTerminate(bool value) { freeOnTerminate_ = value; }

    // The message of an exception that escaped Execute, "" when none did.
    String FatalException() const;

    // Runs on the GUI thread after Execute returned (or raised).
    TNotifyEvent OnTerminate;

    // Runs `method` on the GUI thread and returns when it has run there;
    // at once when called on the GUI thread. An exception it raises is raised
    // again here; EThread when there is no GUI thread to run it.
    static void Synchronize(const TThreadMethod& method);

protected:
    virtual void Execute() = 0;
    void SetReturnValue(int value) { returnValue_ = value; }

private:
    void Run();

    std::thread thread_;
    std::atomic<bool> started_{false};
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> freeOnTerminate_{false};
    int returnValue_ = 0;  // the thread's until it finished
    mutable std::mutex mutex_;
    std::condition_variable done_;
    String fatal_;
};

}  // namespace tarvel
