#include "check_tool/fleet_summary.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "check_tool/check_replay.h"
#include "encoding/utf8_encoding.h"

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

bool ContainsIgnoringCase(const std::wstring& text, const std::wstring& part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(), [](wchar_t a, wchar_t b) {
               return AsciiLower(a) == AsciiLower(b);
           }) != text.end();
}

std::wstring Joined(const std::vector<std::wstring>& items) {
    std::wstring text;
    for (const std::wstring& item : items) text += (text.empty() ? L"" : L", ") + item;
    return text;
}

// The operating system's version as WMI gave it, whatever the tables ask.
std::wstring OsVersion(const MachineRecording& recording) {
    for (const RecordedAnswer& answer : recording.answers) {
        if (!answer.instances || !ContainsIgnoringCase(answer.wql, L"Win32_OperatingSystem")) continue;
        for (const RecordedInstance& instance : *answer.instances)
            for (const RecordedProperty& property : instance.properties)
                if (property.name == L"Version" && property.value.type == WmiValue::Type::Bstr)
                    return property.value.text;
    }
    return std::wstring();
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

class Summary {
public:
    Summary(Platform& platform, const CheckOptions& options, CheckToolOutput& output)
        : platform_(platform), options_(options), output_(output) {}

    int Run() {
        if (options_.csvFile) {
            csv_ = platform_.files.StartFile(*options_.csvFile);
            if (!csv_) return CannotWriteCsv();
            csv_->Write(kUtf8Bom + kSummaryCsvHeader);
        }
        for (const std::wstring& path : options_.summaryPaths) {
            if (tablesUnusable_) break;
            if (platform_.files.IsExistingFile(path)) {
                Replay(path);
                continue;
            }
            const bool listed = platform_.files.ForEachFileIn(path, [this](const std::wstring& file) {
                if (!tablesUnusable_ && EndsWithJson(file)) Replay(file);
            });
            if (!listed) Unreadable(path, L"no such file or folder");
        }
        if (tablesUnusable_) {
            output_.standardError += TextLines(L"orvane-check: the tables are unusable: nothing was summarised\n");
            if (csv_) csv_->Finish();
            return kCheckTableUnusable;
        }
        if (csv_ && csv_->Finish() != WriteResult::Written) return CannotWriteCsv();
        Print();
        if (internalError_) return kCheckInternalError;
        if (!unreadable_.empty() || Read() == 0) return kCheckTableUnusable;
        return meets_ == Read() ? kCheckMeets : kCheckFallsShort;
    }

private:
    size_t Read() const { return meets_ + fallsShort_ + noVerdict_; }

    int CannotWriteCsv() {
        output_.standardError += TextLines(L"orvane-check: cannot write " + *options_.csvFile + L"\n");
        return kCheckOutputNotWritten;
    }

    void Unreadable(const std::wstring& path, const std::wstring& why) {
        unreadable_.push_back(path + L": " + why);
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

    // One recording at a time: nothing of it is kept but its counts.
    void ReplayRecording(const std::wstring& path) {
        std::wstring why;
        std::optional<MachineRecording> recording = ReadRecordingFile(platform_.files, path, why);
        if (!recording) return Unreadable(path, why);

        const ReplayedCheck check(platform_, std::move(*recording), options_);
        const CheckResult& result = check.Result();
        if (!result.TablesUsable()) {
            for (const std::wstring& text : check.Messages())
                output_.standardError += TextLines(L"orvane-check: " + text + L"\n");
            tablesUnusable_ = true;
            return;
        }
        const int exitCode = CheckRunExitCode(result);
        const std::vector<std::wstring> unrecorded = check.Unrecorded();
        const std::vector<std::wstring> failing = FailingItems(result);
        const MachineRecording& r = check.Recording();
        Row({r.machine.value_or(L""), r.timeUtc, VerdictName(exitCode), Joined(failing), OsVersion(r),
             r.graphics && (*r.graphics)[1] ? *(*r.graphics)[1] : L"", Joined(unrecorded), path, L""});

        // Counted last: a recording is counted once, as read or as unreadable.
        (exitCode == kCheckMeets ? meets_ : exitCode == kCheckFallsShort ? fallsShort_ : noVerdict_)++;
        if (!unrecorded.empty()) ++partial_;
        for (const std::wstring& item : failing) ++failingCounts_[item];
    }

    void Row(const std::vector<std::wstring>& fields) {
        if (!csv_) return;
        std::string line;
        for (size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + CsvField(fields[i]);
        csv_->Write(line + "\r\n");
    }

    void Print() {
        std::wstring text = L"recordings: " + std::to_wstring(Read() + unreadable_.size()) + L"\n" +
                            L"meets: " + std::to_wstring(meets_) + L"\n" +
                            L"falls short: " + std::to_wstring(fallsShort_) + L"\n" +
                            L"no verdict (WMI not reached or not answering): " + std::to_wstring(noVerdict_) + L"\n" +
                            L"partial (something unrecorded, counted as absent): " + std::to_wstring(partial_) + L"\n" +
                            L"unreadable: " + std::to_wstring(unreadable_.size()) + L"\n";
        for (const std::wstring& file : unreadable_) text += L"  " + file + L"\n";

        // Most common first; equal counts in the order of their labels.
        std::vector<std::pair<std::wstring, size_t>> items(failingCounts_.begin(), failingCounts_.end());
        std::stable_sort(items.begin(), items.end(),
                         [](const auto& a, const auto& b) { return a.second > b.second; });
        text += L"failing items:\n";
        for (const auto& item : items) {
            std::wstring count = std::to_wstring(item.second);
            text += std::wstring(count.size() < 7 ? 7 - count.size() : 0, L' ') + count + L"  " + item.first + L"\n";
        }
        output_.standardOutput += TextLines(text);
    }

    Platform& platform_;
    const CheckOptions& options_;
    CheckToolOutput& output_;
    std::unique_ptr<FileWriter> csv_;
    size_t meets_ = 0, fallsShort_ = 0, noVerdict_ = 0, partial_ = 0;
    std::vector<std::wstring> unreadable_;
    std::map<std::wstring, size_t> failingCounts_;
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

int RunSummary(Platform& platform, const CheckOptions& options, CheckToolOutput& output) {
    return Summary(platform, options, output).Run();
}
