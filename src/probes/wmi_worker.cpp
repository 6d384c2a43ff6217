#include "probes/wmi_worker.h"

#include <memory>
#include <system_error>
#include <thread>
#include <utility>

// Everything the thread owns; the caller keeps only the futures.
struct WmiWorker::Job {
    Job(WmiService& service, QueryRequest questions)
        : wmi(service), request(std::move(questions)), answers(request.items.size()), answered(answers.size()) {}

    void Run() {
        bool connectionKnown = false;
        try {
            AskQueries(
                wmi, request,
                [this](size_t i, QueryAnswer answer) {
                    answers[i].set_value(std::move(answer));
                    answered[i] = true;
                },
                [this, &connectionKnown](bool made) {
                    connected.set_value(made);
                    connectionKnown = true;
                });
        } catch (...) {
            // Whatever went wrong in the service ends only this thread's work:
            // what did not come counts as missing.
        }
        if (!connectionKnown) connected.set_value(false);
        for (size_t i = 0; i < answers.size(); ++i)
            if (!answered[i]) answers[i].set_value(std::nullopt);
        finished.set_value();
    }

    WmiService& wmi;
    QueryRequest request;
    std::vector<std::promise<QueryAnswer>> answers;
    std::vector<bool> answered;
    std::promise<bool> connected;
    std::promise<void> finished;
};

WmiWorker::WmiWorker(WmiService& wmi, QueryRequest request, bool onThisThread) {
    tableIndices_.reserve(request.items.size());
    for (const QueryRequest::Item& item : request.items) tableIndices_.push_back(item.tableIndex);

    auto job = std::make_shared<Job>(wmi, std::move(request));
    answers_.reserve(job->answers.size());
    for (auto& answer : job->answers) answers_.push_back(answer.get_future());
    connected_ = job->connected.get_future().share();
    finished_ = job->finished.get_future();

    if (onThisThread) {
        job->Run();
        return;
    }
    try {
        std::thread([job] { job->Run(); }).detach();
    } catch (const std::system_error&) {
        job->Run();  // no thread to be had: ask here, unbounded, rather than not at all
    }
}

QueryAnswer WmiWorker::Take(size_t item, WmiClock::time_point deadline) {
    if (item >= answers_.size() || !answers_[item].valid()) return std::nullopt;
    if (answers_[item].wait_until(deadline) != std::future_status::ready) return std::nullopt;
    return answers_[item].get();
}

std::optional<bool> WmiWorker::Connected() const {
    if (connected_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return std::nullopt;
    return connected_.get();
}

bool WmiWorker::Finished() const {
    return finished_.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}
