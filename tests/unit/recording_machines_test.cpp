#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

#include "recording/recording_reader.h"
#include "tables_source_files.h"

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
