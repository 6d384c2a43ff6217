#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

#include "check_tool/check_tool.h"
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
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 6) << line;
        const std::string file = line.substr(0, line.find('\t'));
        EXPECT_EQ(recordings.count(file), 1u) << "expected.tsv names a recording that is not there: " << file;
        expected.insert(file);
    }
    EXPECT_EQ(expected, recordings);
}

// Every line of expected.tsv: the machine replayed by the one check run under
// that table folder gives that verdict, row, failing items and unrecorded facts.
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
        EXPECT_EQ(file + "\t" + tables + "\t" + kVerdicts[std::min(exitCode, 3)] + "\t" + std::to_string(exitCode) +
                      "\t" + row + "\t" + Listed(FailingItems(result)) + "\t" + Listed(check.Unrecorded()),
                  line);
        EXPECT_TRUE(fake.launcher.started.empty() && fake.files.files.size() <= 2) << file << ": it only looked";
        ++replayed;
    }
    EXPECT_GE(replayed, 60u);
}
