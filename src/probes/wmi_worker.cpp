#include "probes/wmi_worker.h"

#include <utility>

// Everything the thread owns. Each value is written before its signal is set
// and read by the caller only once it has seen that signal: answer i has
// signal i, then come "connected" and "finished".
struct WmiWorker::Job {
    Job(WmiService& service, QueryRequest questions, std::shared_ptr<HandOverSignals> handOver)
        : wmi(service),
          request(std::move(questions)),
          answers(request.items.size()),
          answered(answers.size()),
          signals(std::move(handOver)) {}

    size_t ConnectedSignal() const { return answers.size(); }
    size_t FinishedSignal() const { return answers.size() + 1; }

    void Signal(size_t signal) {
        if (signals) signals->Set(signal);
    }

    void Run() {
        bool connectionKnown = false;
        try {
            AskQueries(
                wmi, request,
                [this](size_t i, QueryAnswer answer) {
                    answers[i] = std::move(answer);
                    answered[i] = true;
                    Signal(i);
                },
                [this, &connectionKnown](bool made) {
                    connected = made;
                    connectionKnown = true;
                    Signal(ConnectedSignal());
                });
        } catch (...) {
            // Whatever went wrong in the service ends only this thread's work:
            // what did not come counts as missing.
        }
        if (!connectionKnown) Signal(ConnectedSignal());  // connected stays false
        for (size_t i = 0; i < answers.size(); ++i)
            if (!answered[i]) Signal(i);  // no enumerator: nullopt
        Signal(FinishedSignal());
    }

    WmiService& wmi;
    QueryRequest request;
    std::vector<QueryAnswer> answers;
    std::vector<bool> answered;  // the thread's alone
    bool connected = false;
    const std::shared_ptr<HandOverSignals> signals;
};

WmiWorker::WmiWorker(WorkerThreads& threads, WmiService& wmi, QueryRequest request, bool onThisThread) {
    tableIndices_.reserve(request.items.size());
    for (const QueryRequest::Item& item : request.items) tableIndices_.push_back(item.tableIndex);
    taken_.assign(tableIndices_.size(), false);

    std::shared_ptr<HandOverSignals> signals =
        onThisThread ? nullptr : threads.MakeSignals(tableIndices_.size() + 2);
    job_ = std::make_shared<Job>(wmi, std::move(request), std::move(signals));
    const std::shared_ptr<Job> job = job_;
    if (job->signals && threads.Start([job] { job->Run(); })) return;
    // No thread (or nothing to hand over with): ask here, unbounded, rather than not at all.
    askedHere_ = true;
    job->Run();
}

// The thread may still hold the job; whoever lets go last ends it.
WmiWorker::~WmiWorker() = default;

bool WmiWorker::Ready(size_t signal, WmiClock::time_point deadline) const {
    return askedHere_ || job_->signals->WaitUntil(signal, deadline);
}

bool WmiWorker::ReadyNow(size_t signal) const { return askedHere_ || job_->signals->IsSet(signal); }

QueryAnswer WmiWorker::Take(size_t item, WmiClock::time_point deadline) {
    if (item >= taken_.size() || taken_[item]) return std::nullopt;
    if (!Ready(item, deadline)) return std::nullopt;
    taken_[item] = true;
    return std::move(job_->answers[item]);
}

std::optional<bool> WmiWorker::Connected() const {
    if (!ReadyNow(job_->ConnectedSignal())) return std::nullopt;
    return job_->connected;
}

bool WmiWorker::Finished() const { return ReadyNow(job_->FinishedSignal()); }
