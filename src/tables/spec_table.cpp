#include "tables/table_loaders.h"

int ParseSpecRow(std::wstring_view line, std::vector<OrvaneRec>& specRows) {
    OrvaneRec row;
    for (size_t k = 0; k < OrvaneRec::columnCount; ++k) {
        const std::optional<std::wstring_view> field = LineField(line, k);
        if (!field) return static_cast<int>(k);
        row.columns[k] = std::wstring(*field);
    }
    specRows.push_back(std::move(row));
    return OrvaneRec::columnCount;
}

namespace {

bool LoadSpecFile(Platform& platform, const std::wstring& path, const std::wstring& text,
                  std::vector<OrvaneRec>& specRows, TableOrigin* origin) {
    size_t lineNumber = 0;
    for (const std::wstring& line : CutFileLines(text)) {
        ++lineNumber;
        const int fields = ParseSpecRow(line, specRows);
        if (fields != OrvaneRec::columnCount) {
            if (origin) {
                origin->badLine = lineNumber;
                origin->badLineFields = fields;
            }
            // The administrator's table is wrong: say where, and use none of the rest.
            platform.messages.ShowAppMessage(FormatBadTableMessage(path));
            return false;
        }
        specRows.back().line = lineNumber;
    }
    return true;
}

void LoadBuiltInSpecText(Platform& platform, const std::wstring& text, std::vector<OrvaneRec>& specRows) {
    size_t lineNumber = 0;
    for (const std::wstring& line : CutResourceLines(text)) {
        ++lineNumber;
        if (line.empty()) continue;
        if (ParseSpecRow(line, specRows) != OrvaneRec::columnCount)
            platform.messages.ShowAppMessage(FormatBadTableMessage(text));
        else
            specRows.back().line = lineNumber;
    }
}

}  // namespace

bool LoadSpecTable(Platform& platform, const std::wstring& exeDir, std::vector<OrvaneRec>& specRows,
                   TableOrigin* origin) {
    TableOrigin ignored;
    TableOrigin& from = origin ? *origin : ignored;
    const std::wstring path = exeDir + L"OrvaneSPC.csv";
    if (std::optional<std::wstring> text = ReadTableFile(platform, path, &from.bytes)) {
        from.path = path;
        return LoadSpecFile(platform, path, *text, specRows, origin);
    }

    std::wstring builtIn;
    if (!LoadTextResource(platform, kSpecTableResourceId, builtIn, &from.bytes)) {
        platform.messages.ShowAppMessage(kMissingResourceMessage);
        return false;
    }
    from.builtIn = true;
    LoadBuiltInSpecText(platform, builtIn, specRows);
    return true;
}
