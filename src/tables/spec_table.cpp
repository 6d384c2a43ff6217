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
                  std::vector<OrvaneRec>& specRows) {
    for (const std::wstring& line : CutFileLines(text)) {
        if (ParseSpecRow(line, specRows) != OrvaneRec::columnCount) {
            // The administrator's table is wrong: say where, and use none of the rest.
            platform.messages.ShowAppMessage(FormatBadTableMessage(path));
            return false;
        }
    }
    return true;
}

void LoadBuiltInSpecText(Platform& platform, const std::wstring& text, std::vector<OrvaneRec>& specRows) {
    for (const std::wstring& line : CutResourceLines(text)) {
        if (line.empty()) continue;
        if (ParseSpecRow(line, specRows) != OrvaneRec::columnCount)
            platform.messages.ShowAppMessage(FormatBadTableMessage(text));
    }
}

}  // namespace

bool LoadSpecTable(Platform& platform, const std::wstring& exeDir, std::vector<OrvaneRec>& specRows) {
    const std::wstring path = exeDir + L"OrvaneSPC.csv";
    if (std::optional<std::wstring> text = ReadTableFile(platform, path))
        return LoadSpecFile(platform, path, *text, specRows);

    std::wstring builtIn;
    if (!LoadTextResource(platform, kSpecTableResourceId, builtIn)) {
        platform.messages.ShowAppMessage(kMissingResourceMessage);
        return false;
    }
    LoadBuiltInSpecText(platform, builtIn, specRows);
    return true;
}
