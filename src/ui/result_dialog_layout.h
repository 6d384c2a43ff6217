#pragma once
// The result dialog's template size and control positions (dialog units, as in
// res/dialogs.rc), with the edges that follow the frame when it is resized:
// the report box grows, the status line keeps the full width, the button and
// the link keep to the bottom edge.

#include <array>

#include "ui/dialog_geometry.h"

constexpr int kResultDialogWidth = 339;
constexpr int kResultDialogHeight = 296;

struct ControlLayout {
    int id;
    LayoutRect design;  // left, top, right, bottom
    EdgeAnchors anchors;
};

extern const std::array<ControlLayout, 4> kResultDialogLayout;
