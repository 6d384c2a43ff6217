#pragma once
// What a fleet summary keeps of the recordings it read: counts, and the
// machines that do not meet a row. Its size grows with those machines and
// with the different OS builds and renderers, not with the fleet.

#include <cstddef>
#include <map>
#include <string>
#include <vector>

// Readable recordings, by verdict.
struct VerdictCounts {
    size_t meets = 0;
    size_t fallsShort = 0;
    size_t noVerdict = 0;  // WMI not reached or not answering
};

// A machine that falls short, or has no verdict.
struct FleetMachine {
    std::wstring machine;
    bool noVerdict = false;
    std::vector<std::wstring> failingItems;  // report labels
    std::vector<std::wstring> advice;        // advice codes
    std::wstring file;
};

// One table the fleet was judged against.
struct FleetTable {
    std::wstring file;    // OrvaneSPC.csv, OrvaneWMI.csv
    std::wstring source;  // the path read, or "built-in"
    std::string sha256;
};

struct FleetTally {
    VerdictCounts verdicts;
    size_t partial = 0;                    // something the tables asked was unrecorded
    std::vector<std::wstring> unreadable;  // "file: why"
    std::map<std::wstring, size_t> failingItems;
    std::map<std::wstring, size_t> advice;
    // By Win32_OperatingSystem's Version, and by GL_RENDERER; each lumps
    // what comes after its first kMaxSpread values into "other".
    std::map<std::wstring, VerdictCounts> osBuilds;
    std::map<std::wstring, VerdictCounts> renderers;
    std::map<std::wstring, bool> softwareRenderers;  // renderer: drawn in software
    std::vector<FleetMachine> fallingShort;
    std::vector<FleetTable> tables;  // as the first readable recording was judged

    static constexpr size_t kMaxSpread = 200;

    size_t Read() const { return verdicts.meets + verdicts.fallsShort + verdicts.noVerdict; }
};

// Counts, most frequent first; equal counts in the order of their names.
std::vector<std::pair<std::wstring, size_t>> MostFrequentFirst(const std::map<std::wstring, size_t>& counts);
