#include "fleet/fleet_summary.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "check/advice.h"
#include "check/requirements.h"
#include "check_json/check_exit_code.h"
#include "check_json/sha256.h"
#include "encoding/text_lines.h"
#include "encoding/utf8_encoding.h"
#include "fleet/fleet_page.h"
#include "fleet/fleet_tally.h"
#include "fleet/recorded_facts.h"
#include "probes/software_renderer.h"
#include "replay/check_replay.h"

const char* const kSummaryCsvHeader =
    "machine,timeUtc,verdict,failingItems,osVersion,renderer,unrecorded,file,problem\r\n";

namespace {

const std::string kUtf8Bom = "\xEF\xBB\xBF";

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool EndsWithJson(const std::wstring& path) {
    static const std::wstring kSuffix = L".json";
    if (path.size() < kSuffix.size()) return false;
    return std::equal(kSuffix.begin(), kSuffix.end(), path.end() - static_cast<std::ptrdiff_t>(kSuffix.size()),
                      [](wchar_t a, wchar_t b) { return a == AsciiLower(b); });
}

std::wstring Joined(const std::vector<std::wstring>& items) {
    std::wstring text;
    for (const std::wstring& item : items) text += (text.empty() ? L"" : L", ") + item;
    return text;
}

const wchar_t* VerdictName(int exitCode) {
    switch (exitCode) {
        case kCheckMeets:
            return L"meets";
        case kCheckFallsShort:
            return L"falls-short";
        case kCheckWmiUnreachable:
            return L"wmi-unreachable";
        default:
            return L"table-unusable";
    }
}

// Recordings read of those found, once a second, for someone watching.
class SummaryProgress {
public:
    SummaryProgress(ProgressLine* line, FileSystem& files, const std::vector<std::wstring>& paths)
        : line_(line && line->Watched() ? line : nullptr) {
        if (!line_) return;
        // Counted first, to say of how many: listing a folder costs little beside replaying it.
        for (const std::wstring& path : paths) {
            if (files.IsExistingFile(path)) {
                ++found_;
                continue;
            }
            files.ForEachFileIn(path, [this](const std::wstring& file) { found_ += EndsWithJson(file) ? 1 : 0; });
        }
        last_ = line_->NowMs();
    }
    ~SummaryProgress() {
        if (line_ && shown_) line_->Show(std::wstring());
    }
    SummaryProgress(const SummaryProgress&) = delete;
    SummaryProgress& operator=(const SummaryProgress&) = delete;

    void OneRead() {
        ++read_;
        if (!line_) return;
        const uint64_t now = line_->NowMs();
        if (now - last_ < 1000) return;
        last_ = now;
        shown_ = true;
        line_->Show(L"orvane-check: " + std::to_wstring(read_) + L" of " + std::to_wstring(std::max(read_, found_)) +
                    L" recordings read");
    }

private:
    ProgressLine* line_;
    size_t found_ = 0, read_ = 0;
    uint64_t last_ = 0;
    bool shown_ = false;
};

FleetTable TableOf(const wchar_t* file, const TableOrigin& origin) {
    return {file, origin.builtIn ? L"built-in" : origin.path, Sha256Hex(origin.bytes)};
}

// No verdict is no pass: neither meets nor falls short.
void CountVerdict(VerdictCounts& counts, int exitCode) {
    (exitCode == kCheckMeets ? counts.meets : exitCode == kCheckFallsShort ? counts.fallsShort : counts.noVerdict)++;
}

void CountSpread(std::map<std::wstring, VerdictCounts>& spread, const std::wstring& key, int exitCode) {
    auto at = spread.find(key);
    if (at == spread.end())
        at = spread.emplace(spread.size() < FleetTally::kMaxSpread ? key : L"other", VerdictCounts{}).first;
    CountVerdict(at->second, exitCode);
}

class Summary {
public:
    Summary(Platform& platform, const FleetRequest& request, const FleetContext& context, FleetOutput& output)
        : platform_(platform), request_(request), context_(context), output_(output) {}

    int Run() {
        if (request_.csvFile) {
            csv_ = platform_.files.StartFile(*request_.csvFile);
            if (!csv_) return CannotWrite(*request_.csvFile);
            csv_->Write(kUtf8Bom + kSummaryCsvHeader);
        }
        // Opened first: a page that cannot be written is told before the fleet is read, not after.
        if (request_.htmlFile) {
            page_ = platform_.files.StartFile(*request_.htmlFile);
            if (!page_) return CannotWrite(*request_.htmlFile);
        }
        ReadAll();
        if (tablesUnusable_) {
            output_.standardError += TextLines(L"orvane-check: the tables are unusable: nothing was summarised\n");
            if (csv_) csv_->Finish();
            if (page_) page_->Finish();
            return kCheckTableUnusable;
        }
        if (csv_ && csv_->Finish() != WriteResult::Written) return CannotWrite(*request_.csvFile);
        if (page_) {
            page_->Write(FleetPageHtml(tally_, context_.utcTime));
            if (page_->Finish() != WriteResult::Written) return CannotWrite(*request_.htmlFile);
        }
        Print();
        if (internalError_) return kCheckInternalError;
        if (!tally_.unreadable.empty() || tally_.Read() == 0) return kCheckTableUnusable;
        // Every machine meets a row, or the fleet does not: no verdict is no pass.
        return tally_.verdicts.meets == tally_.Read() ? kCheckMeets : kCheckFallsShort;
    }

private:
    void ReadAll() {
        SummaryProgress progress(context_.progress, platform_.files, request_.summaryPaths);
        for (const std::wstring& path : request_.summaryPaths) {
            if (tablesUnusable_) break;
            if (platform_.files.IsExistingFile(path)) {
                Replay(path);
                progress.OneRead();
                continue;
            }
            const bool listed = platform_.files.ForEachFileIn(path, [&](const std::wstring& file) {
                if (tablesUnusable_ || !EndsWithJson(file)) return;
                Replay(file);
                progress.OneRead();
            });
            if (!listed) Unreadable(path, L"no such file or folder");
        }
    }

    int CannotWrite(const std::wstring& file) {
        output_.standardError += TextLines(L"orvane-check: cannot write " + file + L"\n");
        return kCheckOutputNotWritten;
    }

    void Unreadable(const std::wstring& path, const std::wstring& why) {
        tally_.unreadable.push_back(path + L": " + why);
        Row({L"", L"", L"unreadable", L"", L"", L"", L"", path, why});
    }

    // A recording that fails us (no memory for its replay, say) is named
    // among the unreadable, and the summary goes on to the next one.
    void Replay(const std::wstring& path) {
        const std::optional<std::string> error = InternalErrorOf([&] { ReplayRecording(path); });
        if (!error) return;
        output_.standardError += *error;
        internalError_ = true;
        Unreadable(path, L"internal error");
    }

    // One recording at a time: nothing of it is kept but its counts, and
    // for the page, a machine that does not meet a row.
    void ReplayRecording(const std::wstring& path) {
        std::wstring why;
        std::optional<MachineRecording> recording = ReadRecordingFile(platform_.files, path, why);
        if (!recording) return Unreadable(path, why);

        const ReplayedCheck check(platform_, std::move(*recording), request_.tablesFolder);
        const CheckResult& result = check.Result();
        if (!result.TablesUsable()) {
            for (const std::wstring& text : check.Messages())
                output_.standardError += TextLines(L"orvane-check: " + text + L"\n");
            tablesUnusable_ = true;
            return;
        }
        if (tally_.tables.empty())
            tally_.tables = {TableOf(L"OrvaneSPC.csv", result.specOrigin), TableOf(L"OrvaneWMI.csv", result.queryOrigin)};
        const int exitCode = CheckRunExitCode(result);
        const std::vector<std::wstring> unrecorded = check.Unrecorded();
        const std::vector<std::wstring> failing = FailingItems(result);
        const MachineRecording& r = check.Recording();
        const std::wstring osVersion = RecordedOsVersion(r);
        const std::wstring renderer = RecordedRenderer(r);
        Row({r.machine.value_or(L""), r.timeUtc, VerdictName(exitCode), Joined(failing), osVersion, renderer,
             Joined(unrecorded), path, L""});

        // Counted last: a recording is counted once, as read or as unreadable.
        CountVerdict(tally_.verdicts, exitCode);
        if (!unrecorded.empty()) ++tally_.partial;
        for (const std::wstring& item : failing) ++tally_.failingItems[item];
        if (page_) Tally(result, exitCode, r, failing, osVersion, renderer, path);
    }

    // What only the page shows.
    void Tally(const CheckResult& result, int exitCode, const MachineRecording& r,
               const std::vector<std::wstring>& failing, const std::wstring& osVersion, const std::wstring& renderer,
               const std::wstring& path) {
        std::vector<std::wstring> codes;
        for (const Advice& advice : AdviceFor(result, TriedRowRequirements(result, L'.'))) {
            ++tally_.advice[advice.code];
            codes.push_back(advice.code);
        }
        CountSpread(tally_.osBuilds, osVersion.empty() ? L"not recorded" : osVersion, exitCode);
        const std::wstring rendererKey = renderer.empty() ? L"none" : renderer;
        CountSpread(tally_.renderers, rendererKey, exitCode);
        if (!renderer.empty() && tally_.renderers.count(rendererKey))
            tally_.softwareRenderers[rendererKey] = !SoftwareRendererHint(result.runRecord.glInfo).empty();
        if (exitCode != kCheckMeets)
            tally_.fallingShort.push_back({r.machine.value_or(L""), exitCode != kCheckFallsShort, failing, codes, path});
    }

    void Row(const std::vector<std::wstring>& fields) {
        if (!csv_) return;
        std::string line;
        for (size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + CsvField(fields[i]);
        csv_->Write(line + "\r\n");
    }

    void Print() {
        const VerdictCounts& v = tally_.verdicts;
        std::wstring text = L"recordings: " + std::to_wstring(tally_.Read() + tally_.unreadable.size()) + L"\n" +
                            L"meets: " + std::to_wstring(v.meets) + L"\n" +
                            L"falls short: " + std::to_wstring(v.fallsShort) + L"\n" +
                            L"no verdict (WMI not reached or not answering): " + std::to_wstring(v.noVerdict) + L"\n" +
                            L"partial (something unrecorded, counted as absent): " + std::to_wstring(tally_.partial) +
                            L"\n" + L"unreadable: " + std::to_wstring(tally_.unreadable.size()) + L"\n";
        for (const std::wstring& file : tally_.unreadable) text += L"  " + file + L"\n";
        text += L"failing items:\n";
        for (const auto& item : MostFrequentFirst(tally_.failingItems)) {
            std::wstring count = std::to_wstring(item.second);
            text += std::wstring(count.size() < 7 ? 7 - count.size() : 0, L' ') + count + L"  " + item.first + L"\n";
        }
        output_.result += TextLines(text);
    }

    Platform& platform_;
    const FleetRequest& request_;
    const FleetContext& context_;
    FleetOutput& output_;
    std::unique_ptr<FileWriter> csv_;
    std::unique_ptr<FileWriter> page_;
    FleetTally tally_;
    bool tablesUnusable_ = false;
    bool internalError_ = false;
};

}  // namespace

std::string CsvField(std::wstring_view text) {
    // A spreadsheet starts a cell at the field's start; one whose list
    // separator is ';', or that splits at tabs, also after each of those (or a
    // line end) in the field, whatever the quotes: a quote inside a cell is
    // none to it. Each such start that would read as a formula gets its "'".
    static const std::wstring kFormulaStarts = L"=+-@\t\r";
    static const std::wstring kCellEnds = L";\t\r\n";
    std::wstring field;
    bool cellStart = true;
    for (wchar_t c : text) {
        if (cellStart && kFormulaStarts.find(c) != std::wstring::npos) field += L'\'';
        field += c;
        cellStart = kCellEnds.find(c) != std::wstring::npos;
    }
    if (field.find_first_of(L",;\t\"\r\n") == std::wstring::npos) return EncodeUtf8(field);
    std::wstring quoted = L"\"";
    for (wchar_t c : field) {
        if (c == L'"') quoted += L'"';
        quoted += c;
    }
    return EncodeUtf8(quoted + L"\"");
}

std::vector<std::pair<std::wstring, size_t>> MostFrequentFirst(const std::map<std::wstring, size_t>& counts) {
    std::vector<std::pair<std::wstring, size_t>> items(counts.begin(), counts.end());
    std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    return items;
}

int RunSummary(Platform& platform, const FleetRequest& request, const FleetContext& context, FleetOutput& output) {
    return Summary(platform, request, context, output).Run();
}
