#include "probes/wmi_worker.h"

#include <memory>
#include <system_error>
#include <thread>
#include <utility>

// Everything the thread owns; the caller keeps only the futures.
struct WmiWorker::Job {
    Job(WmiService& service, QueryRequest questions)
        : wmi(service), request(std::move(questions)), answers(request.items.size()) {}

    void Run() {
        std::vector<bool> answered(answers.size(), false);
        AskQueries(wmi, request, [this, &answered](size_t i, QueryAnswer answer) {
            answers[i].set_value(std::move(answer));
            answered[i] = true;
        });
        for (size_t i = 0; i < answers.size(); ++i)
            if (!answered[i]) answers[i].set_value(std::nullopt);
        finished.set_value();
    }

    WmiService& wmi;
    QueryRequest request;
    std::vector<std::promise<QueryAnswer>> answers;
    std::promise<void> finished;
};

WmiWorker::WmiWorker(WmiService& wmi, QueryRequest request) {
    tableIndices_.reserve(request.items.size());
    for (const QueryRequest::Item& item : request.items) tableIndices_.push_back(item.tableIndex);

    auto job = std::make_shared<Job>(wmi, std::move(request));
    answers_.reserve(job->answers.size());
    for (auto& answer : job->answers) answers_.push_back(answer.get_future());
    finished_ = job->finished.get_future();

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

bool WmiWorker::Finished() const {
    return finished_.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}
