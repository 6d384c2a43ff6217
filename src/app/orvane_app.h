#pragma once
// The state of one check run, and the fixed order in which it runs.

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "probes/wmi_worker.h"
#include "tables/orvane_rec.h"
#include "tables/table_loaders.h"
#include "tables/wmi_records.h"

// The folder part of an executable's full path ("C:\dir\app.exe" -> "C:\dir\").
std::wstring ExeFolderOf(const std::wstring& exePath);

class OrvaneApp {
public:
    // Values of RunQueries' mode.
    static constexpr int kAllQueries = 1;
    static constexpr int kCheckedQueries = 2;
    static constexpr int kRemainingQueries = 3;

    // The longest a run waits for the management service, all its work
    // together; time spent on anything else (the graphics probe, a message the
    // user reads) does not count.
    static constexpr std::chrono::milliseconds kWmiTimeLimit{10000};

    explicit OrvaneApp(Platform& platform, std::chrono::milliseconds wmiTimeLimit = kWmiTimeLimit);
    ~OrvaneApp();

    OrvaneApp(const OrvaneApp&) = delete;
    OrvaneApp& operator=(const OrvaneApp&) = delete;

    // Runs the whole check; always false, there is no message loop after it.
    bool InitInstance();

    // The executable's drive and folder followed by name.
    std::wstring GetExeDirPath(const std::wstring& name);

    void ProbeGraphics();
    bool LoadSpecTable();
    bool LoadQueryTable();
    void RunQueries(int mode);
    bool Evaluate();
    bool ReadProductEnvironment();
    bool WriteSettings();
    bool LaunchProduct();
    void ShowResultDialog();

    // The graphics probe on this thread while the mode's queries run on a
    // thread of their own; when it returns, the driver strings are in and so
    // is every answer that came in the time left for WMI.
    void ProbeGraphicsBesideQueries(int mode);

    // True while a thread that asked WMI still holds what it made: it may be
    // stuck in the service, and the process should end without waiting for it.
    bool WmiWorkOutstanding() const;

    std::vector<OrvaneRec> specRows;
    CWMI queryTable;
    std::wstring exeDir;
    std::wstring commandLine;
    std::wstring settingsPath;
    bool exeExists = false;
    OrvaneRec runRecord;
    std::unique_ptr<CWMI> wmiResult;
    // Where each table came from; read by reports that name their sources.
    TableOrigin specOrigin;
    TableOrigin queryOrigin;

private:
    // Null when nothing is to be asked, or the time for WMI is spent.
    WmiWorker* StartQueries(int mode);
    // Records what the worker answers in the time left for WMI.
    void TakeAnswers(WmiWorker& worker);

    Platform& platform_;
    std::vector<size_t> answerCounts_;  // result queries added per table query
    WmiClock::duration wmiWaitLeft_;
    std::vector<std::unique_ptr<WmiWorker>> wmiWorkers_;
};
