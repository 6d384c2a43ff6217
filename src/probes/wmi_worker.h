#pragma once
// The queries of one request asked on a thread of their own, so that a
// management service that never answers keeps nobody waiting: each answer is
// handed over once, and every wait for one ends at a deadline.

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "platform/wmi_service.h"
#include "platform/worker_threads.h"
#include "probes/wmi_queries.h"

using WmiClock = WorkerClock;

class WmiWorker {
public:
    // Starts asking. The thread owns the request, its session (and with it its
    // COM apartment) and each answer until it is taken; it is never joined, so
    // it may be left behind inside the service. wmi must stay usable for as
    // long as the thread runs. onThisThread: asks here and now instead, for a
    // service that answers from memory (a recorded machine), so that no
    // thread is left to outlive it.
    WmiWorker(WorkerThreads& threads, WmiService& wmi, QueryRequest request, bool onThisThread = false);
    ~WmiWorker();

    WmiWorker(const WmiWorker&) = delete;
    WmiWorker& operator=(const WmiWorker&) = delete;

    size_t Count() const { return tableIndices_.size(); }
    size_t TableIndex(size_t item) const { return tableIndices_[item]; }

    // The answer to an item, waiting until the deadline at most; nullopt when
    // it has not come by then. Each item is taken once.
    QueryAnswer Take(size_t item, WmiClock::time_point deadline);

    // Whether a session was made: nullopt while the thread is still trying to
    // connect (or never got that far).
    std::optional<bool> Connected() const;

    // True once the thread has let go of everything it made.
    bool Finished() const;

private:
    struct Job;

    bool Ready(size_t signal, WmiClock::time_point deadline) const;
    bool ReadyNow(size_t signal) const;

    std::vector<size_t> tableIndices_;
    std::vector<bool> taken_;
    std::shared_ptr<Job> job_;
    bool askedHere_ = false;  // no thread to be had: everything is there already
};
