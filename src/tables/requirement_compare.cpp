#include "tables/requirement_compare.h"

#include <algorithm>
#include <string_view>

#include "tables/number_text.h"

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The digit runs of the leading dotted number: "4.6.0 Vendor 531.2" -> 4, 6, 0.
std::vector<std::wstring_view> LeadingDottedNumber(std::wstring_view text) {
    std::vector<std::wstring_view> parts;
    size_t at = 0;
    while (at < text.size() && IsDigit(text[at])) {
        size_t end = at;
        while (end < text.size() && IsDigit(text[end])) ++end;
        parts.push_back(text.substr(at, end - at));
        if (end + 1 < text.size() && text[end] == L'.' && IsDigit(text[end + 1]))
            at = end + 1;
        else
            break;
    }
    return parts;
}

// Digit runs compared as numbers of any size; a missing run counts as 0.
int CompareDigitRuns(std::wstring_view a, std::wstring_view b) {
    auto trim = [](std::wstring_view s) {
        while (!s.empty() && s.front() == L'0') s.remove_prefix(1);
        return s;
    };
    a = trim(a);
    b = trim(b);
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Component i of a dotted version: the text between the i-th and the next dot.
std::wstring_view VersionComponent(std::wstring_view text, int i) {
    size_t start = 0;
    for (int n = 0; n < i; ++n) {
        const size_t dot = text.find(L'.', start);
        if (dot == std::wstring_view::npos) return {};
        start = dot + 1;
    }
    const size_t dot = text.find(L'.', start);
    return text.substr(start, dot == std::wstring_view::npos ? std::wstring_view::npos : dot - start);
}

}  // namespace

bool IsDottedVersionCheck(const CWMIClass& query, const CWMIProp& prop) {
    // The query must name the class after its first character.
    const size_t at = query.query.find(L"Win32_OperatingSystem");
    return at != std::wstring::npos && at > 0 && prop.name == L"Version";
}

int CompareGlVersions(const std::wstring& a, const std::wstring& b) {
    if (a.empty() || b.empty() || !IsDigit(a.front()) || !IsDigit(b.front())) {
        const int c = CompareOrdinal(a, b);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    const auto pa = LeadingDottedNumber(a);
    const auto pb = LeadingDottedNumber(b);
    for (size_t i = 0; i < std::max(pa.size(), pb.size()); ++i) {
        const int c = CompareDigitRuns(i < pa.size() ? pa[i] : std::wstring_view(),
                                       i < pb.size() ? pb[i] : std::wstring_view());
        if (c != 0) return c;
    }
    return 0;
}

int CompareSpecRows(const OrvaneRec& a, const OrvaneRec& b) {
    return -CompareGlVersions(a.columns[OrvaneRec::minGlVersion], b.columns[OrvaneRec::minGlVersion]);
}

int CompareVersion(const std::wstring& required, const std::wstring& found) {
    for (int i = 0; i < 3; ++i) {
        const int32_t r = LeadingInt(VersionComponent(required, i));
        const int32_t f = LeadingInt(VersionComponent(found, i));
        if (r != f) return r > f ? 1 : -1;
    }
    return 0;
}

bool FallsShort(const CWMIClass& query, const CWMIProp& prop, const std::wstring& required) {
    if (IsDottedVersionCheck(query, prop)) return CompareVersion(required, prop.value) == 1;
    return LeadingInt(required) > LeadingInt(prop.value);
}
