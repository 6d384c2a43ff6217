#pragma once
// Worker threads from the standard library: for the native build and its
// fakes. Windows gets the system's own (Win32WorkerThreads): there, a timed
// wait of this toolchain's threads library can hold back the start of the
// very thread it waits for.

#include "platform/worker_threads.h"

class StdWorkerThreads : public WorkerThreads {
public:
    std::shared_ptr<HandOverSignals> MakeSignals(size_t count) override;
    bool Start(const std::function<void()>& work) override;
};
