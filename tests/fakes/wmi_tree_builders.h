#pragma once
// Query tables and result trees built by hand, in the shape the loaders and
// the query runner leave them.

#include <string>

#include "tables/wmi_records.h"

CWMIClass& AddQuery(CWMI& tree, const std::wstring& wql, const std::wstring& label = L"");
CWMIProp& AddProp(CWMIClass& query, const std::wstring& name, const std::wstring& label,
                  const std::wstring& value = L"", double scale = 0.0, int32_t checkIndex = -1);

// The whole tree as one line, each property field shown only where it is set,
// so a case can state everything it expects in one string.
std::wstring Describe(const CWMI& tree);
