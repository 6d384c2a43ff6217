#include "ui/dialog_geometry.h"

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
