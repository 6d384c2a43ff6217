#pragma once
// Positions inside the result dialog, kept free of the window system so they can be tested.

// Top-left corner of an icon drawn centred in a client area; the +1 puts an odd
// spare pixel on the left/top side.
int CentredIconOrigin(int clientExtent, int iconExtent);

struct LayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Which edges of a control keep their distance to the far (right/bottom) edge
// of the client area; the others keep theirs to the left/top edge.
struct EdgeAnchors {
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
};

// Where a control laid out for a client area of designWidth x designHeight goes
// in one of width x height.
LayoutRect FollowClientArea(const LayoutRect& design, const EdgeAnchors& anchors, int designWidth,
                            int designHeight, int width, int height);

// The rect made at least minWidth wide: leftwards when the whole control keeps
// to the right edge, rightwards otherwise. For captions that a font wider than
// the template's would clip.
LayoutRect WidenToFit(const LayoutRect& rect, const EdgeAnchors& anchors, int minWidth);

// The pixel size of a dialog font's average character: one horizontal dialog
// unit is x / 4 pixels, one vertical unit y / 8.
struct DialogBaseUnits {
    int x = 0;
    int y = 0;
};

// Dialog units to pixels, rounded as the dialog manager rounds them.
LayoutRect DialogUnitsToPixels(const LayoutRect& units, DialogBaseUnits base);

// Where a frame opened at `frame` goes on a monitor whose work area is
// `workArea`: unchanged where it lies inside; otherwise cut to the work area
// less `margin` on every side and moved no further than needed to lie in it,
// so that its caption and its bottom row are on the screen.
LayoutRect FitIntoWorkArea(const LayoutRect& frame, const LayoutRect& workArea, int margin);

// The smallest frame extent along one axis: the template's where it fits the
// work area less its margins, else the least the content needs but never more
// than that room.
int MinimumTrackExtent(int templateExtent, int contentExtent, int workExtent, int margin);
