#pragma once
// The result dialog's template size and control positions (dialog units, as in
// res/dialogs.rc), with the edges that follow the frame when it is resized:
// the report box grows, the status line and the advice keep the full width,
// the button and the link keep to the bottom edge. The advice area, between
// the status line and the report box, is as tall as its text.

#include <array>
#include <functional>

#include "ui/dialog_geometry.h"

constexpr int kResultDialogWidth = 339;
constexpr int kResultDialogHeight = 296;

// The smallest client area where everything still shows, for screens too
// small for the template: the link and the button side by side with a gap
// between them, the status line, and a report box of six lines and its
// border, which scrolls for the rest. The advice, when there is any, adds
// its own height and kAdviceGap to it.
constexpr int kReportMinHeight = 56;
constexpr int kResultDialogMinWidth = 7 + 128 + 7 + 109 + 7;
constexpr int kResultDialogMinHeight = 20 + kReportMinHeight + 4 + 14 + 7;
// Between the advice and the report box, as between the status line and the advice.
constexpr int kAdviceGap = 5;

struct ControlLayout {
    int id;
    LayoutRect design;  // left, top, right, bottom
    EdgeAnchors anchors;
};

constexpr size_t kResultDialogControls = 5;
extern const std::array<ControlLayout, kResultDialogControls> kResultDialogLayout;

// Where each control of kResultDialogLayout goes, in pixels, in a client area
// of width x height: minWidths are what each caption needs (0: nothing), and
// adviceHeight tells how tall the advice text is when wrapped to a width in
// pixels (0: no advice, and the dialog is laid out as its template). The
// report box gives up the room the advice takes, down to kReportMinHeight.
std::array<LayoutRect, kResultDialogControls> LayOutResultDialog(
    DialogBaseUnits base, const std::array<int, kResultDialogControls>& minWidths, int width, int height,
    const std::function<int(int width)>& adviceHeight);


// The least client height, in pixels, where everything shows: the advice,
// adviceHeight pixels tall (0: none), whole, and the report box at its least.
int ResultDialogMinClientHeight(DialogBaseUnits base, int adviceHeight);
