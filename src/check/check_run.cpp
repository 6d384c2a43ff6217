#include "check/check_run.h"

#include <algorithm>

#include "check/evaluation.h"
#include "check/fact_recording.h"
#include "probes/graphics_probe.h"
#include "probes/wmi_queries.h"
#include "tables/table_loaders.h"

std::wstring ExeFolderOf(const std::wstring& exePath) {
    const size_t slash = exePath.find_last_of(L"\\/");
    if (slash != std::wstring::npos) return exePath.substr(0, slash + 1);
    // "C:app.exe": the drive alone
    if (exePath.size() >= 2 && exePath[1] == L':') return exePath.substr(0, 2);
    return std::wstring();
}

CheckRun::CheckRun(Platform& platform, const CheckRunSettings& settings)
    : platform_(platform), wmiWaitLeft_(settings.wmiTimeLimit), wmiOnThisThread_(settings.wmiOnThisThread) {
    // The driver is the slowest to answer, and needs nothing of the rest: it
    // starts first and answers meanwhile (in a process of its own on Windows).
    GraphicsDriverRecorder graphics(platform.graphics);
    graphics.Begin();

    CheckResult& r = result_;
    const std::wstring tablesDir =
        settings.tablesFolder.empty() ? ExeFolderOf(platform.system.ExecutablePath()) : settings.tablesFolder;
    r.exeDir = settings.productFolder.empty() ? tablesDir : settings.productFolder;
    // What of the PC the report shows besides the answers: read once, and kept.
    r.decimalSeparator = platform.system.DecimalSeparator();
    r.remoteSession = platform.system.RemoteSession();
    r.recorded.productFolder = r.exeDir;
    r.recorded.decimalSeparator = r.decimalSeparator;
    r.recorded.remoteSession = r.remoteSession;
    r.recorded.tableCodePage = platform.codec.WindowsCodePage(CodePage::ProcessLocale);

    r.specLoaded = LoadSpecTable(platform, tablesDir, r.specRows, &r.specOrigin);
    r.queryLoaded = LoadQueryTable(platform, tablesDir, r.queryTable, &r.queryOrigin);
    // The rows before a bad line are no table: nothing is measured against them.
    if (!r.specLoaded) r.specRows.clear();
    r.recorded.programs = RecordPrograms(r.specRows, r.exeDir, platform.files);
    // Nothing is measured against a refused table: the run ends as soon as
    // the loaders have said why, asking neither WMI nor the driver.
    if (!r.TablesUsable()) return;

    // Only the checked queries decide the outcome; unless asked for, the others
    // wait until a report will show them.
    WmiWorker* worker = StartQueries(settings.everyQueryUpFront ? QuerySelection::All : QuerySelection::Checked);
    std::vector<size_t> unanswered;
    if (worker) TakeAnswers(*worker, &unanswered);
    SettleCompleteness(worker, unanswered);
    r.recorded.wmiReached = r.WmiReached();
    // When the answers already rule out every row, a report will show
    // whatever the driver says: its queries need not wait for the driver.
    if (!settings.everyQueryUpFront && !SomeRowMeetsTheChecks(r.specRows, *r.wmiResult))
        AskReportQueries();

    r.graphics = ProbeGraphics(graphics, platform.codec, r.runRecord);
    r.recorded.graphics = graphics.Recorded(platform.codec);
    r.recorded.graphicsOutcome = r.graphics;

    r.evaluated = true;
    r.passed = Evaluate(r.specRows, r.runRecord, *r.wmiResult, r.exeDir, platform.files, r.exeExists, &r.triedLines);
}

CheckRun::~CheckRun() = default;

void CheckRun::AskReportQueries() {
    if (!result_.queryLoaded || reportWorker_) return;
    reportWorker_ = StartQueries(QuerySelection::Unchecked);
}

const CheckResult& CheckRun::CompleteReport() {
    if (reportWorker_) TakeAnswers(*reportWorker_, nullptr);
    reportWorker_ = nullptr;
    return result_;
}

bool CheckRun::WmiWorkOutstanding() const {
    return std::any_of(wmiWorkers_.begin(), wmiWorkers_.end(),
                       [](const std::unique_ptr<WmiWorker>& worker) { return !worker->Finished(); });
}

WmiWorker* CheckRun::StartQueries(QuerySelection which) {
    QueryRequest request = SelectQueries(result_.queryTable, which);
    if (request.items.empty()) return nullptr;  // no COM at all
    if (wmiWaitLeft_ <= WmiClock::duration::zero()) return nullptr;  // nobody would wait for the answers

    result_.recorded.wmiNamespace = request.wmiNamespace;
    wmiWorkers_.push_back(
        std::make_unique<WmiWorker>(platform_.threads, platform_.wmi, std::move(request), wmiOnThisThread_));
    return wmiWorkers_.back().get();
}

void CheckRun::TakeAnswers(WmiWorker& worker, std::vector<size_t>* unanswered) {
    // One time for all WMI waits of the run; an answer that has not come by
    // then counts as no instances.
    const WmiClock::time_point start = WmiClock::now();
    const WmiClock::time_point deadline = start + wmiWaitLeft_;
    for (size_t i = 0; i < worker.Count(); ++i) {
        const QueryAnswer answer = worker.Take(i, deadline);
        RecordQueryAnswer(result_.queryTable, worker.TableIndex(i), answer, result_.recorded, recordedIndices_);
        if (answer)
            RecordAnswer(result_.queryTable, worker.TableIndex(i), *answer, *result_.wmiResult, answerCounts_);
        else if (unanswered)
            unanswered->push_back(worker.TableIndex(i));
    }
    wmiWaitLeft_ -= std::min(WmiClock::now() - start, wmiWaitLeft_);
}

void CheckRun::SettleCompleteness(const WmiWorker* worker, const std::vector<size_t>& unanswered) {
    CheckResult& r = result_;
    for (size_t index : unanswered) {
        const CWMIClass* query = r.queryTable.queries[index].get();
        if (query && HoldsCheckedProperty(*query)) r.unansweredQueries.push_back(query->query);
    }
    if (!worker) return;  // nothing was asked
    // Read once, now: a thread still stuck in the service that connects later
    // changes nothing of this run.
    const std::optional<bool> connected = worker->Connected();
    if (!connected || !*connected)
        r.wmi = WmiCompleteness::NeverConnected;
    else if (!r.unansweredQueries.empty())
        r.wmi = WmiCompleteness::Incomplete;
}
