#include "ui/dialog_geometry.h"

#include <algorithm>

int CentredIconOrigin(int clientExtent, int iconExtent) { return (clientExtent - iconExtent + 1) / 2; }

LayoutRect FollowClientArea(const LayoutRect& design, const EdgeAnchors& anchors, int designWidth,
                            int designHeight, int width, int height) {
    const int dx = width - designWidth;
    const int dy = height - designHeight;
    LayoutRect r = design;
    if (anchors.left) r.left += dx;
    if (anchors.right) r.right += dx;
    if (anchors.top) r.top += dy;
    if (anchors.bottom) r.bottom += dy;
    // Never hand out a negative size, even if the frame were made smaller than designed.
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

LayoutRect WidenToFit(const LayoutRect& rect, const EdgeAnchors& anchors, int minWidth) {
    LayoutRect r = rect;
    if (r.right - r.left >= minWidth) return r;
    if (anchors.left && anchors.right) {
        r.left = r.right - minWidth;  // kept at the right edge: grow leftwards
    } else {
        r.right = r.left + minWidth;
    }
    return r;
}

namespace {

// a * b / c rounded half away from zero, as MulDiv does; c > 0.
int ScaleRounded(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }

}  // namespace

LayoutRect DialogUnitsToPixels(const LayoutRect& units, DialogBaseUnits base) {
    return {ScaleRounded(units.left, base.x, 4), ScaleRounded(units.top, base.y, 8),
            ScaleRounded(units.right, base.x, 4), ScaleRounded(units.bottom, base.y, 8)};
}

LayoutRect FitIntoWorkArea(const LayoutRect& frame, const LayoutRect& workArea, int margin) {
    if (frame.left >= workArea.left && frame.top >= workArea.top && frame.right <= workArea.right &&
        frame.bottom <= workArea.bottom) {
        return frame;
    }
    const LayoutRect room{workArea.left + margin, workArea.top + margin, workArea.right - margin,
                          workArea.bottom - margin};
    const int width = std::min(frame.right - frame.left, std::max(0, room.right - room.left));
    const int height = std::min(frame.bottom - frame.top, std::max(0, room.bottom - room.top));
    const int left = Clamp(frame.left, room.left, room.right - width);
    const int top = Clamp(frame.top, room.top, room.bottom - height);
    return {left, top, left + width, top + height};
}

int MinimumTrackExtent(int templateExtent, int contentExtent, int workExtent, int margin) {
    // The room a cut frame gets: a minimum above it would undo the cut.
    const int room = std::max(0, workExtent - 2 * margin);
    if (templateExtent <= room) return templateExtent;
    return std::min(contentExtent, room);
}
