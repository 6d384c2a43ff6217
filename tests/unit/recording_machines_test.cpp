#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

#include "check/advice.h"
#include "check/requirements.h"
#include "check_tool/check_tool.h"
#include "platform/progress_line.h"
#include "replay/check_replay.h"
#include "encoding/utf8_encoding.h"
#include "fakes/fake_platform.h"
#include "recording/recording_reader.h"
#include "tables_source_files.h"

namespace {

std::string Listed(const std::vector<std::wstring>& items) {
    std::wstring text;
    for (const std::wstring& item : items) text += (text.empty() ? L"" : L", ") + item;
    return items.empty() ? "-" : EncodeUtf8(text);
}

}  // namespace

// The recorded machines of tests/machines: each reads as a recording, and
// each has its expectations in expected.tsv, and only those.
TEST(MachineZoo, EveryRecordingReadsAndHasItsExpectations) {
    std::string folder = std::string(ORVANE_SOURCE_DIR) + "/tests/machines";
#ifdef _WIN32
    folder = "Z:" + folder;
#endif
    std::set<std::string> recordings;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".json") continue;
        const std::string name = entry.path().filename().string();
        recordings.insert(name);
        std::string error;
        EXPECT_TRUE(ReadMachineRecording(ReadSourceFile("tests/machines/" + name), error).has_value())
            << name << ": " << error;
    }
    EXPECT_GE(recordings.size(), 20u);

    std::set<std::string> expected;
    std::istringstream tsv(ReadSourceFile("tests/machines/expected.tsv"));
    for (std::string line; std::getline(tsv, line);) {
        if (line.empty() || line[0] == '#') continue;
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 7) << line;
        const std::string file = line.substr(0, line.find('\t'));
        EXPECT_EQ(recordings.count(file), 1u) << "expected.tsv names a recording that is not there: " << file;
        expected.insert(file);
    }
    EXPECT_EQ(expected, recordings);
}

// Every line of expected.tsv: the machine replayed by the one check run under
// that table folder gives that verdict, row, failing items, unrecorded facts and advice.
TEST(MachineZoo, EachReplayGivesTheExpectedVerdict) {
    static const char* const kVerdicts[] = {"meets", "falls-short", "table-unusable", "wmi-unreachable"};
    std::istringstream tsv(ReadSourceFile("tests/machines/expected.tsv"));
    size_t replayed = 0;
    for (std::string line; std::getline(tsv, line);) {
        if (line.empty() || line[0] == '#') continue;
        const std::string file = line.substr(0, line.find('\t'));
        const std::string tables = line.substr(file.size() + 1, line.find('\t', file.size() + 1) - file.size() - 1);

        FakePlatform fake;
        fake.resources.texts[129] = ReadSourceFile("res/OrvaneWMI.csv");
        fake.resources.texts[130] = ReadSourceFile("res/OrvaneSPC.csv");
        CheckOptions options;
        if (tables != "built-in") {
            options.tablesFolder = L"D:\\tables\\";
            for (const char* name : {"OrvaneSPC.csv", "OrvaneWMI.csv"})
                fake.files.files[L"D:\\tables\\" + std::wstring(name, name + 13)] = ReadSourceFile(tables + "/" + name);
        }
        std::string error;
        std::optional<MachineRecording> recording = ReadMachineRecording(ReadSourceFile("tests/machines/" + file), error);
        ASSERT_TRUE(recording) << file << ": " << error;

        const ReplayedCheck check(fake.platform, std::move(*recording), options.tablesFolder);
        const CheckResult& result = check.Result();
        const int exitCode = CheckRunExitCode(result);
        const std::string row = result.runRecord.line ? std::to_string(result.runRecord.line) : "-";
        std::vector<std::wstring> advice;
        for (const Advice& a : AdviceFor(result, TriedRowRequirements(result, L'.'))) advice.push_back(a.code);
        EXPECT_EQ(file + "\t" + tables + "\t" + kVerdicts[std::min(exitCode, 3)] + "\t" + std::to_string(exitCode) +
                      "\t" + row + "\t" + Listed(FailingItems(result)) + "\t" + Listed(check.Unrecorded()) + "\t" + Listed(advice),
                  line);
        EXPECT_TRUE(fake.launcher.started.empty() && fake.files.files.size() <= 2) << file << ": it only looked";
        ++replayed;
    }
    EXPECT_GE(replayed, 60u);
}

namespace {

// Watched, on a clock that moves on 400 ms each time it is read.
struct FakeProgressLine : ProgressLine {
    bool Watched() override { return watched; }
    uint64_t NowMs() override { return now += 400; }
    void Show(const std::wstring& text) override { shown.push_back(EncodeUtf8(text)); }
    bool watched = true;
    uint64_t now = 0;
    std::vector<std::string> shown;
};

}  // namespace

// The fleet's verdicts: a machine without one (WMI not reached, a checked
// query unanswered) is no pass, and one such makes the fleet's exit code 1;
// its page shows every recorded text as text.
TEST(MachineZoo, SummaryCountsNoVerdictAsNoPassAndItsPageEscapesRecordedTexts) {
    FakePlatform fake;
    fake.resources.texts[129] = ReadSourceFile("res/OrvaneWMI.csv");
    fake.resources.texts[130] = ReadSourceFile("res/OrvaneSPC.csv");
    for (const char* name : {"win11-23h2-nvidia-rtx4070.json", "wmi-not-reached.json",
                             "os-query-unanswered-after-boot.json", "script-in-machine-name.json"})
        fake.files.files[L"C:\\fleet\\" + DecodeUtf8(name).value()] = ReadSourceFile(std::string("tests/machines/") + name);
    FakeProgressLine progress;
    CheckToolInfo info{L"1.2.3", L"2026-02-01T09:00:00Z"};
    info.progress = &progress;
    const auto summary = [&](std::vector<std::wstring> args, CheckToolOutput& output) {
        return RunCheckTool(fake.platform, args, info, output);
    };

    CheckToolOutput output;
    EXPECT_EQ(summary({L"--summary", L"C:\\fleet\\win11-23h2-nvidia-rtx4070.json", L"C:\\fleet\\wmi-not-reached.json"},
                      output),
              1);
    EXPECT_NE(output.standardOutput.find("meets: 1\r\nfalls short: 0\r\nno verdict (WMI not reached or not answering): 1"),
              std::string::npos)
        << output.standardOutput;

    output = {};
    EXPECT_EQ(summary({L"--summary", L"C:\\fleet", L"--html", L"C:\\p.html", L"--out", L"C:\\s.txt"}, output), 1);
    EXPECT_TRUE(output.standardOutput.empty());
    EXPECT_NE(fake.files.files[L"C:\\s.txt"].find("recordings: 4\r\nmeets: 1\r\nfalls short: 1\r\nno verdict (WMI not "
                                                  "reached or not answering): 2\r\n"),
              std::string::npos);
    const std::string page = fake.files.files[L"C:\\p.html"];
    EXPECT_NE(page.find("<td>&lt;script&gt;alert(1)&lt;/script&gt;</td>"), std::string::npos);
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_TRUE(page.find("src=") == std::string::npos && page.find("href=") == std::string::npos) << "nothing to fetch";
    EXPECT_NE(page.find("<code>os-version</code>"), std::string::npos);
    EXPECT_NE(page.find("46f5dae49345e3ff4500e3712e2d8666c10b3880d8f6f92d5803a2cdcfc62dad"), std::string::npos);
    // Shown once a second of four, then cleared.
    EXPECT_EQ(progress.shown, (std::vector<std::string>{"orvane-check: 3 of 4 recordings read", ""}));

    progress.watched = false;
    progress.shown.clear();
    fake.files.files.erase(L"C:\\fleet\\wmi-not-reached.json");
    fake.files.files.erase(L"C:\\fleet\\os-query-unanswered-after-boot.json");
    output = {};
    EXPECT_EQ(summary({L"--summary", L"C:\\fleet"}, output), 1) << "one meets, one falls short";
    EXPECT_TRUE(progress.shown.empty());
}
