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

TEST(DialogGeometry, DialogUnitsRoundAsTheDialogManagerDoes) {
    struct Case {
        const char* meaning;
        DialogBaseUnits base;
        LayoutRect units;
        LayoutRect expected;
    } cases[] = {
        {"96 DPI button", {7, 14}, {223, 275, 332, 289}, {390, 481, 581, 506}},
        {"144 DPI button", {10, 21}, {223, 275, 332, 289}, {558, 722, 830, 759}},
        {"halves round up", {6, 12}, {1, 1, 3, 3}, {2, 2, 5, 5}},
    };
    for (const auto& c : cases) EXPECT_TRUE(Same(DialogUnitsToPixels(c.units, c.base), c.expected)) << c.meaning;
}

TEST(DialogGeometry, FrameStaysInsideTheWorkAreaOfItsMonitor) {
    struct Case {
        const char* meaning;
        LayoutRect frame;
        LayoutRect workArea;
        int margin;
        LayoutRect expected;
    } cases[] = {
        {"96 DPI on 1280x1024 opens where the template put it", {0, 0, 600, 656}, {0, 0, 1280, 984}, 8,
         {0, 0, 600, 656}},
        {"120 DPI on 1366x768 is cut to the height, caption and button on screen", {0, 0, 771, 780},
         {0, 0, 1366, 728}, 10, {10, 10, 781, 718}},
        {"144 DPI on 1920x1080 fits", {0, 0, 925, 936}, {0, 0, 1920, 1040}, 12, {0, 0, 925, 936}},
        {"144 DPI on 1366x768 is cut", {0, 0, 925, 936}, {0, 0, 1366, 728}, 12, {12, 12, 937, 716}},
        {"a second monitor keeps its own work area", {1920, 0, 2845, 936}, {1920, 0, 3286, 728}, 12,
         {1932, 12, 2857, 716}},
        {"off the left edge it moves in whole", {-50, 100, 550, 756}, {0, 0, 1280, 984}, 8, {8, 100, 608, 756}},
        {"a taskbar on top pushes it down", {0, 0, 600, 656}, {0, 40, 1280, 1024}, 8, {8, 48, 608, 704}},
        {"a work area smaller than its margins gives no negative size", {0, 0, 600, 656}, {0, 0, 10, 10}, 8,
         {8, 8, 8, 8}},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(Same(FitIntoWorkArea(c.frame, c.workArea, c.margin), c.expected)) << c.meaning;
}

TEST(DialogGeometry, MinimumSizeIsTheTemplatesWhereItFitsElseTheContents) {
    struct Case {
        const char* meaning;
        int templateExtent;
        int contentExtent;
        int workExtent;
        int margin;
        int expected;
    } cases[] = {
        {"96 DPI on 1280x1024", 656, 200, 984, 8, 656},
        {"120 DPI on 1366x768, too tall", 780, 200, 728, 10, 200},
        {"120 DPI on 1366x768, wide enough", 771, 480, 1366, 10, 771},
        {"content taller than the work area", 936, 800, 728, 12, 704},
        {"template fits the work area but not its room: as tall as the cut frame", 720, 800, 728, 10, 708},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MinimumTrackExtent(c.templateExtent, c.contentExtent, c.workExtent, c.margin), c.expected)
            << c.meaning;
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
