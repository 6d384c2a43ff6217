#pragma once
// The exit code of a check: how orvane-check ends, and what every JSON of a
// check names, orvane-check's or the one Orvane.exe saves beside its report.

#include <functional>
#include <optional>
#include <string>

#include "check/check_result.h"

// Stable: deployment tools act on them.
enum CheckExitCode : int {
    kCheckMeets = 0,
    kCheckFallsShort = 1,
    kCheckTableUnusable = 2,
    kCheckWmiUnreachable = 3,
    kCheckWrongCommandLine = 64,
    kCheckInternalError = 70,     // a fault of the program's own, no memory for its work, or a system DLL missing: no verdict
    kCheckOutputNotWritten = 74,  // --out's file could not be written
};

// An unusable table before an unreachable or incompletely answering WMI
// before the verdict.
int CheckRunExitCode(const CheckResult& result);

// Runs work. An exception it lets out ends there: the result is then the line
// for standard error, "orvane-check: internal error: WHAT", WHAT the
// exception's own text (e.g. "std::bad_alloc").
std::optional<std::string> InternalErrorOf(const std::function<void()>& work);
