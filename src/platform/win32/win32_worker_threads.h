#pragma once
// Worker threads and their hand-over on the system's own primitives: a thread
// from _beginthreadex, one manual-reset event per signal. Under this
// toolchain's threads library a timed wait could hold back the start of the
// thread it waited for; these waits cannot.

#include "platform/worker_threads.h"

class Win32WorkerThreads : public WorkerThreads {
public:
    std::shared_ptr<HandOverSignals> MakeSignals(size_t count) override;
    bool Start(const std::function<void()>& work) override;
};
