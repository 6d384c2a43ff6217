#include "ui/result_dialog_layout.h"

#include "resource.h"

namespace {
// The close button's id, the dialog manager's IDOK.
constexpr int kCloseButtonId = 1;
}  // namespace

const std::array<ControlLayout, 4> kResultDialogLayout = {{
    {kCloseButtonId, {223, 275, 223 + 109, 275 + 14}, {true, true, true, true}},
    {IDC_STATUS, {7, 7, 7 + 325, 7 + 8}, {false, false, true, false}},
    {IDC_SUPPORT_LINK, {7, 275, 7 + 128, 275 + 14}, {false, true, false, true}},
    {IDC_REPORT, {7, 20, 7 + 325, 20 + 251}, {false, false, true, true}},
}};
