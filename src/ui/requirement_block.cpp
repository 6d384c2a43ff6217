#include "ui/requirement_block.h"

namespace {

const wchar_t* const kLineEnd = L"\r\n";
const wchar_t* const kRequirementHeading = L"動作に必要な環境";
const wchar_t* const kRequirementHeadingOfRows = L"動作に必要な環境（次のいずれか）";
const wchar_t* const kAdviceHeading = L"考えられる原因と対処";

}  // namespace

std::wstring RequirementLineText(const RequirementLine& line) {
    std::wstring text = line.text;
    if (line.column != OrvaneRec::osArchitecture) text += L" 以上";
    if (!line.fellShort) return text;
    text += L"（この PC: ";
    for (size_t i = 0; i < line.found.size(); ++i) {
        if (i > 0) text += L"、";
        text += line.found[i].empty() ? L"取得できませんでした" : line.found[i];
    }
    if (line.found.empty()) text += L"取得できませんでした";
    text += L"）";
    return text;
}

void AppendRequirementBlock(const std::vector<RowRequirements>& rows, const std::vector<Advice>& advice,
                            std::wstring& report) {
    if (!rows.empty()) {
        // With several rows, any one of them will do: each gets a line of its own above its requirements.
        const bool several = rows.size() > 1;
        report += kLineEnd;
        report += several ? kRequirementHeadingOfRows : kRequirementHeading;
        report += kLineEnd;
        for (size_t r = 0; r < rows.size(); ++r) {
            const wchar_t* indent = L"\t";
            if (several) {
                report += L"\t条件 " + std::to_wstring(r + 1) + kLineEnd;
                indent = L"\t\t";
            }
            for (const RequirementLine& line : rows[r].lines) {
                report += indent;
                report += RequirementLineText(line);
                report += kLineEnd;
            }
        }
    }
    if (!advice.empty()) {
        report += kLineEnd;
        report += kAdviceHeading;
        report += kLineEnd;
        for (const Advice& a : advice) {
            report += L'\t';
            report += a.text;
            report += kLineEnd;
        }
    }
}
