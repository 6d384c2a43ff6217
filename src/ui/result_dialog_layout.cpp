#include "ui/result_dialog_layout.h"

#include <algorithm>

#include "resource.h"

namespace {
// The close button's id, the dialog manager's IDOK.
constexpr int kCloseButtonId = 1;
constexpr size_t kAdviceEntry = 2;
constexpr size_t kReportEntry = 4;
}  // namespace

const std::array<ControlLayout, kResultDialogControls> kResultDialogLayout = {{
    {kCloseButtonId, {223, 275, 223 + 109, 275 + 14}, {true, true, true, true}},
    {IDC_STATUS, {7, 7, 7 + 325, 7 + 8}, {false, false, true, false}},
    {IDC_ADVICE, {7, 20, 7 + 325, 20 + 8}, {false, false, true, false}},
    {IDC_SUPPORT_LINK, {7, 275, 7 + 128, 275 + 14}, {false, true, false, true}},
    {IDC_REPORT, {7, 20, 7 + 325, 20 + 251}, {false, false, true, true}},
}};

std::array<LayoutRect, kResultDialogControls> LayOutResultDialog(
    DialogBaseUnits base, const std::array<int, kResultDialogControls>& minWidths, int width, int height,
    const std::function<int(int width)>& adviceHeight) {
    const LayoutRect design = DialogUnitsToPixels({0, 0, kResultDialogWidth, kResultDialogHeight}, base);
    std::array<LayoutRect, kResultDialogControls> at;
    for (size_t i = 0; i < kResultDialogLayout.size(); ++i) {
        const ControlLayout& control = kResultDialogLayout[i];
        const LayoutRect fitted =
            WidenToFit(DialogUnitsToPixels(control.design, base), control.anchors, minWidths[i]);
        at[i] = FollowClientArea(fitted, control.anchors, design.right, design.bottom, width, height);
    }

    // The advice takes the report box's top, as tall as its text; the report
    // box starts below it and keeps its bottom.
    LayoutRect& advice = at[kAdviceEntry];
    LayoutRect& report = at[kReportEntry];
    const int gap = DialogUnitsToPixels({0, 0, 0, kAdviceGap}, base).bottom;
    const int reportMin = DialogUnitsToPixels({0, 0, 0, kReportMinHeight}, base).bottom;
    const int room = std::max(0, report.bottom - reportMin - gap - advice.top);
    const int text = adviceHeight ? std::max(0, adviceHeight(advice.right - advice.left)) : 0;
    advice.bottom = advice.top + std::min(text, room);
    if (advice.bottom > advice.top) report.top = advice.bottom + gap;
    return at;
}

int ResultDialogMinClientHeight(DialogBaseUnits base, int adviceHeight) {
    const int least = DialogUnitsToPixels({0, 0, 0, kResultDialogMinHeight}, base).bottom;
    if (adviceHeight <= 0) return least;
    const int height = DialogUnitsToPixels({0, 0, 0, kResultDialogHeight}, base).bottom;
    const LayoutRect report = DialogUnitsToPixels(kResultDialogLayout[kReportEntry].design, base);
    const int adviceTop = DialogUnitsToPixels(kResultDialogLayout[kAdviceEntry].design, base).top;
    const int gap = DialogUnitsToPixels({0, 0, 0, kAdviceGap}, base).bottom;
    const int reportMin = DialogUnitsToPixels({0, 0, 0, kReportMinHeight}, base).bottom;
    return std::max(least, adviceTop + adviceHeight + gap + reportMin + (height - report.bottom));
}
