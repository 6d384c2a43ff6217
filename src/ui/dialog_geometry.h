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
