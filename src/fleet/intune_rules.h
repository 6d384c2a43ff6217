#pragma once
// orvane-check --intune-rules: the rules file of Intune's custom compliance
// for the settings of --intune, from the requirement table.

#include <string>
#include <vector>

#include "fleet/fleet_commands.h"
#include "fleet/intune_compliance.h"

// What Intune takes at most.
inline constexpr size_t kIntuneMaxRules = 100;
inline constexpr size_t kIntuneMaxBytes = 100 * 1024;

// The file: {"Rules": [...]}, each rule with its remediation in ja_JP and en_US.
std::string IntuneRulesJson(const std::vector<IntuneRule>& rules, const std::wstring& moreInfoUrl);

// Exit code 0 with the file as the result; 2 when the tables are unusable,
// their row has no link for MoreInfoUrl, or the file would exceed Intune's
// limits (standard error names the limit).
int RunIntuneRules(Platform& platform, const FleetRequest& request, FleetOutput& output);
