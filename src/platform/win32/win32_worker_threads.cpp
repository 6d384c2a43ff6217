#include "platform/win32/win32_worker_threads.h"

#include <process.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "platform/win32/unique_resource.h"

namespace {

// Setting an event and seeing it set order memory like a lock: the value
// written before Set is there for whoever returns from the wait.
class Win32HandOverSignals : public HandOverSignals {
public:
    explicit Win32HandOverSignals(std::vector<UniqueHandle> events) : events_(std::move(events)) {}

    void Set(size_t signal) override { ::SetEvent(events_.at(signal).get()); }

    bool WaitUntil(size_t signal, WorkerClock::time_point deadline) override {
        const HANDLE event = events_.at(signal).get();
        for (;;) {
            const WorkerClock::time_point now = WorkerClock::now();
            DWORD waitMs = 0;
            if (deadline > now) {
                const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
                waitMs = static_cast<DWORD>(left < INFINITE - 1 ? left : INFINITE - 1);
            }
            const DWORD result = ::WaitForSingleObject(event, waitMs);
            if (result == WAIT_OBJECT_0) return true;
            // The timer may end a wait a little early: look again until the clock has passed the deadline.
            if (result != WAIT_TIMEOUT || waitMs == 0) return false;
        }
    }

    bool IsSet(size_t signal) override { return ::WaitForSingleObject(events_.at(signal).get(), 0) == WAIT_OBJECT_0; }

private:
    std::vector<UniqueHandle> events_;
};

unsigned __stdcall RunWork(void* work) {
    const std::unique_ptr<std::function<void()>> owned(static_cast<std::function<void()>*>(work));
    try {
        (*owned)();
    } catch (...) {
        // Nothing may leave a thread's start routine; the work hands over what it has itself.
    }
    return 0;
}

}  // namespace

std::shared_ptr<HandOverSignals> Win32WorkerThreads::MakeSignals(size_t count) {
    std::vector<UniqueHandle> events;
    events.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        events.emplace_back(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!events.back()) return nullptr;
    }
    return std::make_shared<Win32HandOverSignals>(std::move(events));
}

bool Win32WorkerThreads::Start(const std::function<void()>& work) {
    auto owned = std::make_unique<std::function<void()>>(work);
    // _beginthreadex rather than CreateThread: the work uses the C run-time.
    const uintptr_t thread = ::_beginthreadex(nullptr, 0, &RunWork, owned.get(), 0, nullptr);
    if (thread == 0) return false;
    owned.release();  // the thread's own now
    ::CloseHandle(reinterpret_cast<HANDLE>(thread));
    return true;
}
