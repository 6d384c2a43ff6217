#pragma once
// orvane-check --summary: every recording of a fleet replayed against the
// tables, one at a time, and counted.

#include <string>
#include <string_view>

#include "fleet/fleet_commands.h"
#include "platform/platform.h"

// The columns of --csv's file, in order.
extern const char* const kSummaryCsvHeader;

// One CSV field as UTF-8, for a spreadsheet whatever its list separator:
// quoted when it holds a comma, a semicolon, a tab, a quote or a line end;
// wherever a cell may start in it, a text that would read as a formula gets
// a "'" before it.
std::string CsvField(std::wstring_view text);

// The totals (meets, falls short, no verdict, partial, unreadable with the
// files' names) and the count of each failing item, as the result; with
// --csv also one line per recording, with --html the fleet's page. A progress
// line while it reads, when someone watches. Exit code: 0 all meet, 1 some do
// not, 2 the tables are unusable or a recording could not be read (or none
// was found), 74 when the CSV or the page could not be written.
int RunSummary(Platform& platform, const FleetRequest& request, const FleetContext& context, FleetOutput& output);
