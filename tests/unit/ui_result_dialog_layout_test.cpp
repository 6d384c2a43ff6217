// The layout the dialog resizes by must be the one its template draws.

#include <gtest/gtest.h>

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

// Also with advice: wrapped, it takes 13 pixels a line for every 300 pixels of text.
TEST(ResultDialogLayout, EverythingStillShowsInTheSmallestClientArea) {
    // MS UI Gothic 9 pt at 96, 120 and 144 DPI, and a wide substitute font; no advice, then 900 pixels of it.
    const DialogBaseUnits bases[] = {{7, 13}, {8, 16}, {10, 19}, {9, 13}, {7, 13}, {10, 19}};
    for (const DialogBaseUnits& base : bases) {
        const int text = &base - bases >= 4 ? 900 : 0;
        const auto advice = [text](int width) { return 13 * ((text + width - 1) / width); };
        const int adviceHeight = advice(DialogUnitsToPixels({0, 0, kResultDialogMinWidth - 14, 0}, base).right);
        LayoutRect smallest = DialogUnitsToPixels({0, 0, kResultDialogMinWidth, kResultDialogMinHeight}, base);
        smallest.bottom = ResultDialogMinClientHeight(base, adviceHeight);
        const auto rects = LayOutResultDialog(base, {}, smallest.right, smallest.bottom, advice);
        std::map<int, LayoutRect> at;
        for (size_t i = 0; i < rects.size(); ++i) at[kResultDialogLayout[i].id] = rects[i];
        const LayoutRect& button = at[1];
        const LayoutRect& link = at[IDC_SUPPORT_LINK];
        const LayoutRect& report = at[IDC_REPORT];
        const LayoutRect& status = at[IDC_STATUS];
        EXPECT_LT(link.right, button.left) << base.x << "x" << base.y << ": link and button side by side";
        EXPECT_LT(report.bottom, button.top) << base.x << "x" << base.y;
        EXPECT_LE(status.bottom, at[IDC_ADVICE].top) << base.x << "x" << base.y;
        EXPECT_EQ(at[IDC_ADVICE].bottom - at[IDC_ADVICE].top, adviceHeight) << base.x << "x" << base.y << ": all of it";
        EXPECT_LE(at[IDC_ADVICE].bottom, report.top) << base.x << "x" << base.y;
        EXPECT_EQ(status.right - status.left, report.right - report.left) << base.x << "x" << base.y;
        EXPECT_GE(report.bottom - report.top, 6 * base.y) << base.x << "x" << base.y << ": six lines of report";
        EXPECT_LE(button.right, smallest.right) << base.x << "x" << base.y;
    }
}

}  // namespace
