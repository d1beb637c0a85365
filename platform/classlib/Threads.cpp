#include "platform/classlib/Threads.h"

#include <chrono>
#include <exception>
#include <memory>

#include "platform/winsys/GuiTasks.h"

namespace tarvel {

namespace {

// One Synchronize call: the worker waits on it until the GUI thread ran the
// method, or the task was dropped unrun (the window system went away).
struct SyncCall {
    std::mutex mutex;
    std::condition_variable changed;
    bool ran = false;
    bool dropped = false;
    std::exception_ptr error;
};

// Lives in the posted task; gone without having run means dropped.
class SyncRunner {
public:
    SyncRunner(std::shared_ptr<SyncCall> call, const TThreadMethod* method)
        : call_(std::move(call)), method_(method) {}
    SyncRunner(const SyncRunner&) = delete;
    SyncRunner& operator=(const SyncRunner&) = delete;
    ~SyncRunner() {
        if (!ran_) Finish([this] { call_->dropped = true; });
    }

    void Run() {
        std::exception_ptr error;
        try {
            (*method_)();
        } catch (...) {
            error = std::current_exception();
        }
        ran_ = true;
        // The exception goes to the worker whole: it is freed there, after
        // the worker read it.
        Finish([&] {
            call_->ran = true;
            call_->error = std::move(error);
        });
    }

private:
    template <class F>
    void Finish(F set) {
        {
            std::lock_guard<std::mutex> lock(call_->mutex);
            set();
        }
        call_->changed.notify_all();
    }

    std::shared_ptr<SyncCall> call_;
    const TThreadMethod* method_;  // the waiting caller's
    bool ran_ = false;
};

// How often a GUI thread waiting for a thread looks for its synchronized methods.
constexpr std::chrono::milliseconds kGuiWaitSlice{1};

}  // namespace

void TThread::Synchronize(const TThreadMethod& method) {
    if (!method) return;
    if (IsGuiThread()) {
        method();
        return;
    }
    auto call = std::make_shared<SyncCall>();
    auto runner = std::make_shared<SyncRunner>(call, &method);
    PostGuiTask([runner] { runner->Run(); });
    runner.reset();  // the task holds the only one now
    std::exception_ptr error;
    {
        std::unique_lock<std::mutex> lock(call->mutex);
        call->changed.wait(lock, [&] { return call->ran || call->dropped; });
        if (call->dropped) throw EThread("Synchronize: there is no GUI thread to run the method");
        error = std::move(call->error);
    }
    if (error) std::rethrow_exception(error);
}

TThread::~TThread() {
    if (!thread_.joinable()) return;
    if (thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach();
        return;
    }
    Terminate();
    WaitFor();
}

void TThread::Start() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (started_.exchange(true)) throw EThread("Cannot call Start on a running or finished thread");
    thread_ = std::thread([this] { Run(); });
}

void TThread::Run() {
    String fatal;
    try {
        if (!terminated_) Execute();
    } catch (const std::exception& e) {
        fatal = e.what();
    } catch (...) {
        fatal = "Unknown exception";
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        fatal_ = std::move(fatal);
    }
    if (OnTerminate) {
        try {
            Synchronize([this] { OnTerminate(this); });
        } catch (...) {
            // The window system is gone: nobody is left to tell.
        }
    }
    const bool freeSelf = freeOnTerminate_;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
        if (freeSelf) thread_.detach();
    }
    done_.notify_all();
    if (freeSelf) delete this;
}

int TThread::WaitFor() {
    if (freeOnTerminate_) throw EThread("Cannot wait for a thread that frees itself");
    if (!started_) throw EThread("Cannot wait for a thread that was not started");
    std::unique_lock<std::mutex> lock(mutex_);
    if (thread_.get_id() == std::this_thread::get_id()) throw EThread("A thread cannot wait for itself");
    while (!finished_) {
        if (IsGuiThread()) {
            lock.unlock();
            RunGuiTasks();
            lock.lock();
            done_.wait_for(lock, kGuiWaitSlice, [this] { return finished_.load(); });
        } else {
            done_.wait(lock, [this] { return finished_.load(); });
        }
    }
    if (thread_.joinable()) thread_.join();
    return returnValue_;
}

String TThread::FatalException() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return fatal_;
}

}  // namespace tarvel
