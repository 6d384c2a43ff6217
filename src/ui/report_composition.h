#pragma once
// The two sections of the report and the markers they use.

#include <string>

#include "tables/orvane_rec.h"
#include "tables/wmi_records.h"

extern const wchar_t* const kFailureMarker;  // " 【×】"
extern const wchar_t* const kWarningMarker;  // " 【▲】"
extern const wchar_t* const kFailureStatus;  // "【×】動作スペックを満たさない項目があります"

// Appends one block per query result: its heading, one tab-indented line per
// property, and an empty line. Returns whether any line got the failure marker.
bool ComposeReport(const CWMI& wmiResult, wchar_t decimalSeparator, std::wstring& report);

// Appends the "OpenGL" heading and the four driver strings; the version line
// carries the marker that glVerdict asks for.
void AppendGraphicsSection(const OrvaneRec& runRecord, std::wstring& report);

// The text of one property line, without indent, marker or line end.
std::wstring PropertyLineText(const CWMIProp& prop, wchar_t decimalSeparator);
