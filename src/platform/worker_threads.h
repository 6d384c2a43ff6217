#pragma once
// Threads of our own that hand their results back. A thread started here is
// never joined: what it has for the starter crosses through one-shot signals,
// each waited for with a deadline, so a thread stuck in someone else's code
// keeps nobody waiting past it.

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>

using WorkerClock = std::chrono::steady_clock;

// A fixed number of signals, each set once by the worker after it has written
// the value the signal stands for: whoever sees a signal set sees that value.
class HandOverSignals {
public:
    virtual ~HandOverSignals() = default;

    virtual void Set(size_t signal) = 0;
    // True once the signal is set, waiting for it until the deadline at most.
    virtual bool WaitUntil(size_t signal, WorkerClock::time_point deadline) = 0;
    // Whether it is set now, without waiting.
    virtual bool IsSet(size_t signal) = 0;
};

class WorkerThreads {
public:
    virtual ~WorkerThreads() = default;

    // count signals, none set; null when the system has none to give.
    virtual std::shared_ptr<HandOverSignals> MakeSignals(size_t count) = 0;

    // Runs a copy of work on a new thread, never joined; false when no thread
    // could be started (work has not run then).
    virtual bool Start(const std::function<void()>& work) = 0;
};
