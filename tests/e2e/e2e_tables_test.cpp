// Where the two tables come from and what a bad table shows, seen from outside.

#include <gtest/gtest.h>

#include "e2e/harness.h"

namespace e2e {
namespace {

TEST(E2eHarness, FindsTheBuiltPrograms) {
    EXPECT_TRUE(FileExists(BuiltProgramPath(BuiltProgram::Orvane))) << ToUtf8(BuiltProgramPath(BuiltProgram::Orvane));
}

}  // namespace
}  // namespace e2e
