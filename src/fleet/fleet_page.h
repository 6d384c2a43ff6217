#pragma once
// The fleet's page: one self-contained HTML file (no script, nothing fetched,
// its style and pictures inline) that opens offline and can be mailed.

#include <string>
#include <string_view>

#include "fleet/fleet_tally.h"

// Text as HTML: &, <, >, " and ' as references, so that a recorded name is
// shown as the text it is.
std::wstring HtmlText(std::wstring_view text);

// The page of a fleet judged at utcTime, as UTF-8.
std::string FleetPageHtml(const FleetTally& tally, const std::wstring& utcTime);
