#include "probes/std_worker_threads.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

class StdHandOverSignals : public HandOverSignals {
public:
    explicit StdHandOverSignals(size_t count) : set_(count, false) {}

    void Set(size_t signal) override {
        const std::lock_guard<std::mutex> lock(mutex_);
        set_.at(signal) = true;
        changed_.notify_all();
    }

    bool WaitUntil(size_t signal, WorkerClock::time_point deadline) override {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_until(lock, deadline, [&] { return bool(set_.at(signal)); });
    }

    bool IsSet(size_t signal) override {
        const std::lock_guard<std::mutex> lock(mutex_);
        return set_.at(signal);
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<bool> set_;
};

}  // namespace

std::shared_ptr<HandOverSignals> StdWorkerThreads::MakeSignals(size_t count) {
    return std::make_shared<StdHandOverSignals>(count);
}

bool StdWorkerThreads::Start(const std::function<void()>& work) {
    try {
        std::thread(work).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}
