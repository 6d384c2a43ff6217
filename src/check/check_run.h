#pragma once
// One check, in its one order: both tables, the graphics driver beside the
// management service under one deadline, the evaluation, and what was left
// unanswered. Front ends only read the result.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "check/check_result.h"
#include "platform/platform.h"
#include "probes/wmi_worker.h"

// The folder part of an executable's full path ("C:\dir\app.exe" -> "C:\dir\").
std::wstring ExeFolderOf(const std::wstring& exePath);

struct CheckRunSettings {
    // The longest a run waits for the management service, all its work
    // together; time spent on anything else (the graphics probe, a message the
    // user reads) does not count.
    static constexpr std::chrono::milliseconds kWmiTimeLimit{10000};

    // Where the tables are looked for; empty: beside the executable.
    std::wstring tablesFolder;
    // Ask every query before the evaluation. Otherwise only the checked ones
    // are asked, and the rest when a report wants them (AskReportQueries).
    bool everyQueryUpFront = false;
    std::chrono::milliseconds wmiTimeLimit = kWmiTimeLimit;
};

class CheckRun {
public:
    // Runs the check. platform must outlive the run; its WMI service also any
    // thread the run leaves behind in it (see WmiWorkOutstanding).
    CheckRun(Platform& platform, const CheckRunSettings& settings);
    ~CheckRun();

    CheckRun(const CheckRun&) = delete;
    CheckRun& operator=(const CheckRun&) = delete;

    const CheckResult& Result() const { return result_; }

    // A report shows every value, though only the checked ones decide: the
    // others are asked here, in what is left of the WMI time, while the
    // caller does its own work. CompleteReport() then adds their answers;
    // nothing the verdict rests on changes.
    void AskReportQueries();
    const CheckResult& CompleteReport();

    // True while a thread that asked WMI still holds what it made: it may be
    // stuck in the service, and the process should end without waiting for it.
    bool WmiWorkOutstanding() const;

private:
    WmiWorker* StartQueries(QuerySelection which);
    // Records what the worker answers in the time left for WMI; the table
    // indices of the items that had no answer go to unanswered when given.
    void TakeAnswers(WmiWorker& worker, std::vector<size_t>* unanswered);
    void SettleCompleteness(const WmiWorker* worker, const std::vector<size_t>& unanswered);

    Platform& platform_;
    CheckResult result_;
    std::vector<size_t> answerCounts_;  // result queries added per table query
    std::vector<size_t> recordedIndices_;  // the table query of each recorded answer
    WmiClock::duration wmiWaitLeft_;
    std::vector<std::unique_ptr<WmiWorker>> wmiWorkers_;
    WmiWorker* reportWorker_ = nullptr;
};
