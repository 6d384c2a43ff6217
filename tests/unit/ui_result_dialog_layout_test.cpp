// The layout the dialog resizes by must be the one its template draws.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <regex>
#include <string>

#include "resource.h"
#include "tables_source_files.h"
#include "ui/result_dialog_layout.h"

namespace {

TEST(ResultDialogLayout, MatchesTheTemplateInTheResourceScript) {
    const std::string rc = ReadSourceFile("res/dialogs.rc");
    const size_t start = rc.find("IDD_ORVANE_DIALOG DIALOGEX");
    ASSERT_NE(start, std::string::npos);
    const std::string dialog = rc.substr(start, rc.find("END", start) - start);

    std::smatch size;
    ASSERT_TRUE(std::regex_search(dialog, size, std::regex(R"(DIALOGEX\s+0,\s*0,\s*(\d+),\s*(\d+))")));
    EXPECT_EQ(std::stoi(size[1]), kResultDialogWidth);
    EXPECT_EQ(std::stoi(size[2]), kResultDialogHeight);

    const std::map<int, std::string> names = {{1, "IDOK"}, {1000, "IDC_SUPPORT_LINK"}, {1001, "IDC_REPORT"},
                                              {1002, "IDC_STATUS"}, {1003, "IDC_ADVICE"}};
    // "<name>, [class, styles,] left, top, width, height"
    for (const ControlLayout& control : kResultDialogLayout) {
        const std::string& name = names.at(control.id);
        std::smatch m;
        ASSERT_TRUE(std::regex_search(dialog, m, std::regex(name + R"(,(?:[^,\n]*?,)*?\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+))")))
            << name;
        const int left = std::stoi(m[1]);
        const int top = std::stoi(m[2]);
        EXPECT_EQ(control.design.left, left) << name;
        EXPECT_EQ(control.design.top, top) << name;
        EXPECT_EQ(control.design.right, left + std::stoi(m[3])) << name;
        EXPECT_EQ(control.design.bottom, top + std::stoi(m[4])) << name;
    }
}

// The advice text as a static wraps it: so many pixels of width a line, 13 pixels a line.
std::function<int(int)> AdviceOf(int lines, int widthPerLine) {
    return [lines, widthPerLine](int width) { return 13 * ((lines * widthPerLine + width - 1) / width); };
}

TEST(ResultDialogLayout, EverythingStillShowsInTheSmallestClientArea) {
    // MS UI Gothic 9 pt at 96, 120 and 144 DPI, and a wide substitute font; without and with advice.
    const DialogBaseUnits bases[] = {{7, 13}, {8, 16}, {10, 19}, {9, 13}};
    for (const DialogBaseUnits& base : bases) {
        for (const int adviceLines : {0, 3}) {
            const std::string at = std::to_string(base.x) + "x" + std::to_string(base.y) + ", " +
                                   std::to_string(adviceLines) + " advice lines";
            const std::function<int(int)> advice = adviceLines ? AdviceOf(adviceLines, 400) : nullptr;
            LayoutRect smallest = DialogUnitsToPixels({0, 0, kResultDialogMinWidth, kResultDialogMinHeight}, base);
            const int adviceHeight = advice ? advice(smallest.right - DialogUnitsToPixels({0, 0, 14, 0}, base).right) : 0;
            smallest.bottom = ResultDialogMinClientHeight(base, adviceHeight);
            std::map<int, LayoutRect> placed;
            const auto rects = LayOutResultDialog(base, {}, smallest.right, smallest.bottom, advice);
            for (size_t i = 0; i < rects.size(); ++i) placed[kResultDialogLayout[i].id] = rects[i];
            const LayoutRect& button = placed[1];
            const LayoutRect& link = placed[IDC_SUPPORT_LINK];
            const LayoutRect& report = placed[IDC_REPORT];
            const LayoutRect& status = placed[IDC_STATUS];
            const LayoutRect& adviceArea = placed[IDC_ADVICE];
            EXPECT_LT(link.right, button.left) << at << ": link and button side by side";
            EXPECT_LT(report.bottom, button.top) << at;
            EXPECT_LE(status.bottom, adviceArea.top) << at;
            EXPECT_EQ(adviceArea.bottom - adviceArea.top, adviceHeight) << at << ": the whole advice";
            EXPECT_LE(adviceArea.bottom, report.top) << at;
            EXPECT_EQ(status.right - status.left, report.right - report.left) << at;
            EXPECT_EQ(adviceArea.right - adviceArea.left, report.right - report.left) << at;
            EXPECT_GE(report.bottom - report.top, 6 * base.y) << at << ": six lines of report";
            EXPECT_LE(button.right, smallest.right) << at;
        }
    }
}

// The advice area sits between the status line and the report box, as tall as its
// text at the width it has; the report box gives up that room, never below its least.
TEST(ResultDialogLayout, AdviceTakesTheReportBoxsTopAsTallAsItsText) {
    const DialogBaseUnits base{7, 13};  // 96 DPI: the template is 593 x 481 pixels
    const struct {
        const char* meaning;
        int width;
        int height;
        std::function<int(int)> advice;
        LayoutRect adviceArea;
        LayoutRect report;
    } cases[] = {
        {"no advice: the template's report box", 593, 481, nullptr, {12, 33, 581, 33}, {12, 33, 581, 440}},
        {"no text: the same", 593, 481, AdviceOf(0, 400), {12, 33, 581, 33}, {12, 33, 581, 440}},
        {"one line", 593, 481, AdviceOf(1, 400), {12, 33, 581, 46}, {12, 54, 581, 440}},
        {"two lines wrapped at the area's width", 593, 481, AdviceOf(1, 800), {12, 33, 581, 59}, {12, 67, 581, 440}},
        {"a wider frame wraps less", 993, 481, AdviceOf(1, 800), {12, 33, 981, 59 - 13}, {12, 54, 981, 440}},
        {"a taller frame: only the report box grows", 593, 681, AdviceOf(2, 400), {12, 33, 581, 59}, {12, 67, 581, 640}},
        {"more than there is room for: the report box keeps its least", 593, 240, AdviceOf(20, 400),
         {12, 33, 581, 100}, {12, 108, 581, 199}},
    };
    for (const auto& c : cases) {
        const auto rects = LayOutResultDialog(base, {}, c.width, c.height, c.advice);
        std::map<int, LayoutRect> placed;
        for (size_t i = 0; i < rects.size(); ++i) placed[kResultDialogLayout[i].id] = rects[i];
        const auto same = [](const LayoutRect& a, const LayoutRect& b) {
            return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
        };
        const LayoutRect& a = placed[IDC_ADVICE];
        const LayoutRect& r = placed[IDC_REPORT];
        EXPECT_TRUE(same(a, c.adviceArea)) << c.meaning << ": advice " << a.left << "," << a.top << "," << a.right
                                           << "," << a.bottom;
        EXPECT_TRUE(same(r, c.report)) << c.meaning << ": report " << r.left << "," << r.top << "," << r.right << ","
                                       << r.bottom;
    }
}

}  // namespace
