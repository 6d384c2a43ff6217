#pragma once
// The result dialog's template size and control positions (dialog units, as in
// res/dialogs.rc), with the edges that follow the frame when it is resized:
// the report box grows, the status line keeps the full width, the button and
// the link keep to the bottom edge.

#include <array>

#include "ui/dialog_geometry.h"

constexpr int kResultDialogWidth = 339;
constexpr int kResultDialogHeight = 296;

// The smallest client area where everything still shows, for screens too
// small for the template: the link and the button side by side with a gap
// between them, the status line, and a report box of six lines and its
// border, which scrolls for the rest.
constexpr int kResultDialogMinWidth = 7 + 128 + 7 + 109 + 7;
constexpr int kResultDialogMinHeight = 20 + 56 + 4 + 14 + 7;

struct ControlLayout {
    int id;
    LayoutRect design;  // left, top, right, bottom
    EdgeAnchors anchors;
};

extern const std::array<ControlLayout, 4> kResultDialogLayout;
