#pragma once
// Where the two tables come from, and how their text is cut into lines and fields.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "tables/orvane_rec.h"
#include "tables/wmi_records.h"

inline constexpr int kQueryTableResourceId = 129;
inline constexpr int kSpecTableResourceId = 130;

extern const wchar_t* const kMissingResourceMessage;  // "構成リソースがありません。"
extern const wchar_t* const kBadFormatMessage;        // "設定ファイルの書式が正しくありません\n%s"

// Where a loaded table came from, for reports that name and fingerprint it.
struct TableOrigin {
    std::wstring path;     // the file read; empty when it was the built-in copy, or nothing
    bool builtIn = false;  // the built-in copy was used
    std::string bytes;     // what was read, byte for byte
    size_t badLine = 0;    // 1-based line that stopped the load; 0 when none did
    int badLineFields = 0; // how many fields that line had
};

// Lines of a table file: cut at LF, a CR right before an LF dropped with it; a
// final line end delivers no further line.
std::vector<std::wstring> CutFileLines(std::wstring_view text);

// Lines of a built-in table: cut at every LF, CRs kept; a text ending with LF
// yields one more, empty, line.
std::vector<std::wstring> CutResourceLines(std::wstring_view text);

// Field k of a line cut at every comma; nullopt when the line has fewer than k commas.
std::optional<std::wstring_view> LineField(std::wstring_view line, size_t k);

// The built-in "TEXT" resource, decoded as code page 932. False when missing,
// empty or unloadable; true with an empty text when it could not be decoded.
// The raw bytes go to `bytes` when given.
bool LoadTextResource(Platform& platform, int id, std::wstring& text, std::string* bytes = nullptr);

// Requirement table: "OrvaneSPC.csv" beside the executable, else the built-in copy.
// Each row records its line; `origin`, when given, learns the source.
bool LoadSpecTable(Platform& platform, const std::wstring& exeDir, std::vector<OrvaneRec>& specRows,
                   TableOrigin* origin = nullptr);

// Query table: "OrvaneWMI.csv" beside the executable, else the built-in copy.
bool LoadQueryTable(Platform& platform, const std::wstring& exeDir, CWMI& queryTable, TableOrigin* origin = nullptr);

// One requirement line: returns the number of fields found (at most 9) and
// appends a row when it is 9.
int ParseSpecRow(std::wstring_view line, std::vector<OrvaneRec>& specRows);

// "設定ファイルの書式が正しくありません\n…" naming the bad table (its path, or the built-in text).
std::wstring FormatBadTableMessage(const std::wstring& where);

// A table file's text in the process locale's code page; nullopt when the file
// cannot be opened, so the caller falls back to the built-in copy. The raw
// bytes go to `bytes` when given.
std::optional<std::wstring> ReadTableFile(Platform& platform, const std::wstring& path, std::string* bytes = nullptr);

// A table file's bytes as ReadTableFile converts them; empty when they do not convert.
std::wstring DecodeTableFile(TextCodec& codec, std::string_view bytes);

// One query-table line, continuing what the cursors of the same load point to.
void ParseQueryRow(std::wstring_view line, CWMI& queryTable, CWMIClass*& currentQuery, CWMIProp*& currentProp);
