// Where the result dialog puts its icon and controls, and the link's markup.

#include <gtest/gtest.h>

#include "ui/dialog_geometry.h"
#include "ui/link_markup.h"

namespace {

bool Same(const LayoutRect& a, const LayoutRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(DialogGeometry, MinimisedIconIsCentredWithTheSpareOddPixelFirst) {
    struct Case {
        int client;
        int icon;
        int expected;
    } cases[] = {{37, 32, 3}, {36, 32, 2}, {32, 32, 0}, {160, 32, 64}, {31, 32, 0}, {30, 32, 0}, {28, 32, -1}};
    for (const auto& c : cases) EXPECT_EQ(CentredIconOrigin(c.client, c.icon), c.expected) << c.client;
}

TEST(DialogGeometry, ControlsFollowTheFrameByTheirAnchors) {
    const LayoutRect report{7, 20, 332, 271};
    struct Case {
        const char* meaning;
        EdgeAnchors anchors;
        int width;
        int height;
        LayoutRect expected;
    } cases[] = {
        {"design size changes nothing", {false, false, true, true}, 339, 296, {7, 20, 332, 271}},
        {"report box grows", {false, false, true, true}, 439, 396, {7, 20, 432, 371}},
        {"status keeps full width only", {false, false, true, false}, 439, 396, {7, 20, 432, 271}},
        {"button moves with the corner", {true, true, true, true}, 439, 396, {107, 120, 432, 371}},
        {"link keeps to the bottom", {false, true, false, true}, 439, 396, {7, 120, 332, 371}},
        {"a too small frame never gives a negative size", {false, false, true, true}, 10, 10, {7, 20, 7, 20}},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(Same(FollowClientArea(report, c.anchors, 339, 296, c.width, c.height), c.expected)) << c.meaning;
}

TEST(DialogGeometry, ClippedCaptionsGetTheRoomTheyNeed) {
    const LayoutRect button{223, 275, 332, 289};
    const EdgeAnchors corner{true, true, true, true};
    const EdgeAnchors bottomLeft{false, true, false, true};
    EXPECT_TRUE(Same(WidenToFit(button, corner, 100), button)) << "wide enough already";
    EXPECT_TRUE(Same(WidenToFit(button, corner, 129), {203, 275, 332, 289})) << "keeps its right edge";
    EXPECT_TRUE(Same(WidenToFit({7, 275, 135, 289}, bottomLeft, 140), {7, 275, 147, 289})) << "keeps its left edge";
}

TEST(LinkMarkup, CaptionIsOneLinkWhateverItHolds) {
    struct Case {
        const wchar_t* text;
        const wchar_t* markup;
    } cases[] = {
        {L"VORN > 保守・サポート", L"<a>VORN > 保守・サポート</a>"},
        {L"a</a>b", L"<a>a<\u2060/a>b</a>"},
        {L"<a href=\"x\">", L"<a><\u2060a href=\"x\"></a>"},
        {L"", L"<a></a>"},
    };
    for (const auto& c : cases) EXPECT_EQ(LinkMarkup(c.text), c.markup);
}

}  // namespace
