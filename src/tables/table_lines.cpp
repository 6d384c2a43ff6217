#include "tables/table_loaders.h"

const wchar_t* const kMissingResourceMessage = L"構成リソースがありません。";
const wchar_t* const kBadFormatMessage = L"設定ファイルの書式が正しくありません\n%s";

std::vector<std::wstring> CutFileLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t lf = text.find(L'\n', start);
        if (lf == std::wstring_view::npos) {
            // A last line without a line end comes as it is.
            lines.emplace_back(text.substr(start));
            break;
        }
        size_t end = lf;
        if (end > start && text[end - 1] == L'\r') --end;  // CR LF reads like LF
        lines.emplace_back(text.substr(start, end - start));
        start = lf + 1;
    }
    return lines;
}

std::vector<std::wstring> CutResourceLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (;;) {
        const size_t lf = text.find(L'\n', start);
        if (lf == std::wstring_view::npos) {
            lines.emplace_back(text.substr(start));
            return lines;
        }
        lines.emplace_back(text.substr(start, lf - start));
        start = lf + 1;
    }
}

std::optional<std::wstring_view> LineField(std::wstring_view line, size_t k) {
    size_t start = 0;
    for (size_t i = 0; i < k; ++i) {
        const size_t comma = line.find(L',', start);
        if (comma == std::wstring_view::npos) return std::nullopt;
        start = comma + 1;
    }
    const size_t end = line.find(L',', start);
    return line.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start);
}

std::wstring FormatBadTableMessage(const std::wstring& where) {
    // Paths and table texts may hold '%': fill the one placeholder by hand.
    std::wstring text = kBadFormatMessage;
    text.replace(text.find(L"%s"), 2, where);
    return text;
}

std::optional<std::wstring> ReadTableFile(Platform& platform, const std::wstring& path, std::string* rawBytes) {
    std::optional<std::string> bytes = platform.files.ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    if (rawBytes) *rawBytes = *bytes;
    // The file opened, so it is the table.
    return DecodeTableFile(platform.codec, *bytes);
}

std::wstring DecodeTableFile(TextCodec& codec, std::string_view bytes) {
    // Text that will not convert reads as no lines.
    return codec.Decode(bytes, CodePage::ProcessLocale).value_or(std::wstring());
}
