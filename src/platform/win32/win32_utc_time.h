#pragma once
// The time now, as the JSON of a check names it.

#include <string>

// "2026-01-31T08:15:00Z": ISO 8601, UTC, whole seconds.
std::wstring UtcTimeNow();
