#pragma once
// orvane-check --intune: this PC checked, as Intune's discovery script hands
// it over: one compressed JSON object of flat settings on one line.

#include <string>
#include <vector>

#include "fleet/fleet_commands.h"
#include "fleet/intune_compliance.h"

// {"OrvaneVerdict":"meets",...} and a line end, in ASCII: every other
// character as \u escapes, whatever code page a script decodes it in.
std::string IntuneSettingsLine(const std::vector<IntuneSetting>& settings);

// Exit code 0 whenever the line was made: Intune reads the line, not the code.
int RunIntuneSettings(Platform& platform, const FleetRequest& request, const FleetContext& context,
                      FleetOutput& output);
