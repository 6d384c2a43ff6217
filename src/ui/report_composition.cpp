#include "ui/report_composition.h"

#include <cmath>

#include "probes/graphics_probe.h"
#include "tables/label_format.h"
#include "tables/number_text.h"
#include "ui/result_report.h"

const wchar_t* const kFailureMarker = L" 【×】";
const wchar_t* const kWarningMarker = L" 【▲】";
const wchar_t* const kFailureStatus = L"【×】動作スペックを満たさない項目があります";

namespace {

const wchar_t* const kLineEnd = L"\r\n";

// WMI hands out the adapter's memory size as a signed 32-bit number, so 2 GiB
// and more arrive negative (and 4 GiB as 0); adding 2^32 brings them back.
constexpr double kAdapterRamWrap = 4294967296.0;
constexpr double kAdapterRamWrapBelow = 0.1;

bool IsAdapterRam(const std::wstring& name) { return name.find(L"AdapterRAM") != std::wstring::npos; }

}  // namespace

std::wstring PropertyLineText(const CWMIProp& prop, wchar_t decimalSeparator) {
    // A scale of 0 or NaN means "show the value as it is".
    if (!(std::fabs(prop.scale) > 0)) return FormatLabel(prop.label, prop.value);

    double number = LeadingDouble(prop.value, decimalSeparator);
    if (IsAdapterRam(prop.name) && number < kAdapterRamWrapBelow) number += kAdapterRamWrap;
    return FormatLabel(prop.label, number * prop.scale, decimalSeparator);
}

bool ComposeReport(const CWMI& wmiResult, wchar_t decimalSeparator, std::wstring& report) {
    bool anyFailed = false;
    for (const auto& query : wmiResult.queries) {
        if (!query) continue;
        report += query->label;
        report += kLineEnd;
        for (const auto& prop : query->props) {
            if (!prop) continue;
            report += L'\t';
            report += PropertyLineText(*prop, decimalSeparator);
            if (prop->failed != 0) {
                report += kFailureMarker;
                anyFailed = true;
            }
            report += kLineEnd;
        }
        report += kLineEnd;
    }
    return anyFailed;
}

void AppendGraphicsSection(const OrvaneRec& runRecord, std::wstring& report) {
    report += L"OpenGL";
    report += kLineEnd;
    for (int k = 0; k < OrvaneRec::glCount; ++k) {
        report += L'\t';
        report += glKeyLabels[k];
        report += runRecord.glInfo[k];
        if (k == OrvaneRec::glVersion) {
            const int32_t verdict = LeadingInt(runRecord.columns[OrvaneRec::glVerdict]);
            if (verdict < 0) report += kWarningMarker;
            if (verdict == 0) report += kFailureMarker;
        }
        report += kLineEnd;
    }
}

ResultView ComposeResultView(const CWMI& wmiResult, const OrvaneRec& runRecord, bool exeExists,
                             wchar_t decimalSeparator) {
    ResultView view;
    if (!exeExists) view.status = runRecord.columns[OrvaneRec::statusText];
    if (ComposeReport(wmiResult, decimalSeparator, view.report)) view.status = kFailureStatus;
    AppendGraphicsSection(runRecord, view.report);

    view.linkText = runRecord.columns[OrvaneRec::linkText];
    view.linkUrl = runRecord.columns[OrvaneRec::linkUrl];
    view.showLink = !view.linkText.empty() && !view.linkUrl.empty();
    return view;
}
