#pragma once
// The state of one check run, and the fixed order in which it runs.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
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

    explicit OrvaneApp(Platform& platform);
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
    Platform& platform_;
    std::vector<size_t> answerCounts_;  // result queries added per table query
};
