#pragma once
// The bytes of the report file.

#include <string>

// UTF-8 with byte-order mark: the status, an empty line, the report. Every CR
// is dropped and every LF is written as CR LF, so the file has CR LF line ends
// whatever the texts held.
std::string ReportFileBytes(const std::wstring& status, const std::wstring& report);

// "<desktop>\Orvane[<computer>].txt"
std::wstring ReportFilePath(const std::wstring& desktopFolder, const std::wstring& computerName);
