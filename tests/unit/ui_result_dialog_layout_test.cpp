// The layout the dialog resizes by must be the one its template draws.

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>

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
                                              {1002, "IDC_STATUS"}};
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

}  // namespace
