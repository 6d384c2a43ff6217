#pragma once
// How a requirement's values compare with what the machine reports.

#include <string>

#include "tables/orvane_rec.h"
#include "tables/wmi_records.h"

// Ordering of version texts: when both begin with a digit, their leading dotted
// numbers compared component by component (missing ones count as 0); else ordinal.
int CompareGlVersions(const std::wstring& a, const std::wstring& b);

// Row order: the most demanding graphics version first. Returns -1, 0 or 1.
int CompareSpecRows(const OrvaneRec& a, const OrvaneRec& b);

// 1 when the required dotted version is above the found one, 0 when equal, -1 below.
int CompareVersion(const std::wstring& required, const std::wstring& found);

// The operating system's "Version" is compared as a dotted version
// (CompareVersion); every other checked value by its leading integer.
bool IsDottedVersionCheck(const CWMIClass& query, const CWMIProp& prop);

// True when the property's value is below what the requirement asks.
bool FallsShort(const CWMIClass& query, const CWMIProp& prop, const std::wstring& required);
