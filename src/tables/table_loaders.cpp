#include "tables/table_loaders.h"

// Placeholder until the table loaders land.
const wchar_t* const kMissingResourceMessage = L"構成リソースがありません。";
const wchar_t* const kBadFormatMessage = L"設定ファイルの書式が正しくありません\n%s";

std::vector<std::wstring> CutFileLines(std::wstring_view) { return {}; }
std::vector<std::wstring> CutResourceLines(std::wstring_view) { return {}; }
std::optional<std::wstring_view> LineField(std::wstring_view, size_t) { return std::nullopt; }
bool LoadTextResource(Platform&, int, std::wstring&) { return false; }
bool LoadSpecTable(Platform&, const std::wstring&, std::vector<OrvaneRec>&) { return true; }
bool LoadQueryTable(Platform&, const std::wstring&, CWMI&) { return true; }
int ParseSpecRow(std::wstring_view, std::vector<OrvaneRec>&) { return 0; }
void ParseQueryRow(std::wstring_view, CWMI&, CWMIClass*&, CWMIProp*&) {}
