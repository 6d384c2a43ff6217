#pragma once
// Everything one check found. The check run makes it once; the front ends
// (the dialog program, the console checker) only read it.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics_driver.h"
#include "recording/machine_recording.h"
#include "tables/orvane_rec.h"
#include "tables/table_loaders.h"
#include "tables/wmi_records.h"

// How much of what decides the verdict the management service answered,
// settled when the run's wait for it ended: nothing later changes it.
enum class WmiCompleteness {
    Complete,        // every checked query answered (or none was to be asked)
    Incomplete,      // connected, but a checked query had no answer in time
    NeverConnected,  // a connection was tried and none was made in time
};

struct CheckResult {
    CheckResult() : wmiResult(std::make_unique<CWMI>()) {}

    // Where the product's programs are looked for: where the tables were
    // looked for, or in a replay the recorded machine's folder.
    std::wstring exeDir;

    // The requirement table: its rows in the order the evaluation tried them,
    // none when the table was refused.
    std::vector<OrvaneRec> specRows;
    bool specLoaded = false;
    TableOrigin specOrigin;

    CWMI queryTable;
    bool queryLoaded = false;
    TableOrigin queryOrigin;

    // The machine's answers, failing values marked.
    std::unique_ptr<CWMI> wmiResult;
    // The graphics strings, the verdict's columns and the selected row's line.
    OrvaneRec runRecord;
    // How the graphics driver answered; a driver that hung or failed left the strings empty.
    GraphicsReading::Outcome graphics = GraphicsReading::Outcome::NoWindow;

    // The evaluation ran only when both tables were usable.
    bool evaluated = false;
    bool passed = false;     // a requirement row was met
    bool exeExists = false;  // and its program is there
    std::vector<size_t> triedLines;  // the rows tried, in that order

    // The run is in a remote desktop session: the PC's own graphics driver is not in use.
    bool remoteSession = false;
    // The user's decimal separator, in which the report shows its numbers.
    wchar_t decimalSeparator = L'.';

    WmiCompleteness wmi = WmiCompleteness::Complete;
    // The checked queries that got no answer, as the table words them.
    std::vector<std::wstring> unansweredQueries;

    // The raw facts the run took (WMI answers, driver strings, programs, the
    // PC's folder, session and locale), from which a replay gives this result
    // again; machine and time are the front end's to add.
    MachineRecording recorded;

    bool TablesUsable() const { return specLoaded && queryLoaded; }
    bool WmiReached() const { return wmi != WmiCompleteness::NeverConnected; }
};
