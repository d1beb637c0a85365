// Worker threads: Synchronize onto the GUI thread, termination, freeing
// themselves, waiting. Written to stay clean under ThreadSanitizer.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/classlib/Application.h"
#include "platform/classlib/Threads.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

// A thread running a function as its Execute.
class TFunctionThread : public TThread {
public:
    explicit TFunctionThread(std::function<void(TFunctionThread&)> body,
                             std::atomic<bool>* destroyed = nullptr)
        : body_(std::move(body)), destroyed_(destroyed) {}
    ~TFunctionThread() override {
        if (destroyed_) *destroyed_ = true;
    }
    using TThread::SetReturnValue;

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(TFunctionThread&)> body_;
    std::atomic<bool>* destroyed_;
};

// What happened, from any thread, in order.
class EventLog {
public:
    void Add(std::string event) {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back(std::move(event));
    }
    std::vector<std::string> Events() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return events_;
    }
    bool Has(const std::string& event) const {
        const auto e = Events();
        return std::find(e.begin(), e.end(), event) != e.end();
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> events_;
};

class ThreadTest : public ::testing::Test {
protected:
    // Runs the GUI thread's messages until `done` or five seconds passed.
    bool PumpUntil(const std::function<bool()>& done) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done()) {
            if (std::chrono::steady_clock::now() > until) return false;
            Application->ProcessMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    TUiDriver ui;
    const std::thread::id gui_ = std::this_thread::get_id();
};

TEST_F(ThreadTest, SynchronizeRunsOnTheGuiThreadWhileTheWorkerWaits) {
    EventLog log;
    std::atomic<bool> asked{false};
    auto where = [this] { return std::this_thread::get_id() == gui_ ? " on gui" : " elsewhere"; };
    TFunctionThread thread([&](TFunctionThread&) {
        log.Add("worker starts");
        PostGuiTask([&] { log.Add("posted before"); });
        asked = true;
        TThread::Synchronize([&] { log.Add(std::string("sync 1") + where()); });
        log.Add("worker between");
        TThread::Synchronize([&] { log.Add(std::string("sync 2") + where()); });
        log.Add("worker ends");
    });
    thread.Start();
    while (!asked) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    // Nobody runs the GUI thread's queue: the worker stays in Synchronize.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(log.Has("worker between"));
    ASSERT_TRUE(PumpUntil([&] { return thread.Finished(); }));
    thread.WaitFor();
    EXPECT_EQ(log.Events(), (std::vector<std::string>{"worker starts", "posted before", "sync 1 on gui",
                                                      "worker between", "sync 2 on gui", "worker ends"}));
}

TEST_F(ThreadTest, SynchronizeOnTheGuiThreadRunsAtOnce) {
    bool ran = false;
    TThread::Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST_F(ThreadTest, AnExceptionOfTheSynchronizedMethodIsRaisedInTheWorker) {
    String caught;
    TFunctionThread thread([&](TFunctionThread&) {
        try {
            TThread::Synchronize([] { throw EConvertError("'x' is not a valid integer value"); });
        } catch (const EConvertError& e) {
            caught = e.Message();
        }
    });
    thread.Start();
    thread.WaitFor();  // on the GUI thread: runs the method meanwhile
    EXPECT_EQ(caught, "'x' is not a valid integer value");
}

TEST_F(ThreadTest, TerminateEndsALoopAndWaitForAnswersTheReturnValue) {
    std::atomic<bool> running{false};
    TFunctionThread thread([&](TFunctionThread& self) {
        running = true;
        while (!self.Terminated()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        self.SetReturnValue(42);
    });
    thread.Start();
    while (!running) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(thread.Finished());
    thread.Terminate();
    EXPECT_EQ(thread.WaitFor(), 42);
    EXPECT_TRUE(thread.Finished());
    EXPECT_EQ(thread.FatalException(), "");
    EXPECT_THROW(thread.Start(), EThread);
}

TEST_F(ThreadTest, OnTerminateRunsOnTheGuiThreadAndAFreeingThreadDeletesItself) {
    EventLog log;
    std::atomic<bool> destroyed{false};
    auto* thread = new TFunctionThread(
        [&](TFunctionThread&) {
            log.Add("execute");
            throw Exception("lost the port");
        },
        &destroyed);
    thread->SetFreeOnTerminate(true);
    thread->OnTerminate = [&](TObject* sender) {
        auto* t = static_cast<TThread*>(sender);
        log.Add(std::string("terminate") + (std::this_thread::get_id() == gui_ ? " on gui" : " elsewhere") +
                ": " + t->FatalException());
    };
    EXPECT_THROW(thread->WaitFor(), EThread);  // not started, and frees itself
    thread->Start();
    ASSERT_TRUE(PumpUntil([&] { return destroyed.load(); }));
    EXPECT_EQ(log.Events(), (std::vector<std::string>{"execute", "terminate on gui: lost the port"}));
}

TEST_F(ThreadTest, TheFatalExceptionIsKeptAndOwnersDestructorStopsTheThread) {
    TFunctionThread failing([](TFunctionThread&) { throw Exception("no reply"); });
    failing.Start();
    failing.WaitFor();
    EXPECT_EQ(failing.FatalException(), "no reply");

    TFunctionThread neverStarted([](TFunctionThread&) {});
    EXPECT_THROW(neverStarted.WaitFor(), EThread);

    std::atomic<bool> destroyed{false};
    {
        TFunctionThread looping(
            [](TFunctionThread& self) {
                while (!self.Terminated()) TThread::Synchronize([] {});
            },
            &destroyed);
        looping.Start();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        looping.Terminate();
        looping.WaitFor();
    }
    EXPECT_TRUE(destroyed);
}

TEST(ThreadWithoutWindows, SynchronizeWithoutAWindowSystemRaises) {
    std::string raised;
    std::thread worker([&] {
        try {
            TThread::Synchronize([] {});
        } catch (const EThread& e) {
            raised = e.Message();
        }
    });
    worker.join();
    EXPECT_FALSE(raised.empty());
}

}  // namespace
}  // namespace tarvel
