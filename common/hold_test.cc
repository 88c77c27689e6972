#include "common/hold.h"

#include <gtest/gtest.h>

#include "common/testing/fakes.h"

namespace veg {
namespace {

TEST(HoldTest, ShowsNoticeAndWaitsForAnyLine) {
  testing::FakeConsole console({"", "more"});
  hold(console);
  std::vector<std::string> expected = {"", "", "", "", "*** Program finished  ***", "", "",
                                       "Press <RETURN> to exit", "", "",
                                       "*************************"};
  EXPECT_EQ(expected, console.output);
  EXPECT_EQ(1u, console.unread());
}

TEST(HoldTest, EndOfInputStopsTheProgram) {
  testing::FakeConsole console;
  EXPECT_THROW(hold(console), StopRun);
  EXPECT_EQ(11u, console.output.size());
}

TEST(HoldTest, HoldAndStopAlwaysStops) {
  testing::FakeConsole console({"x"});
  EXPECT_THROW(holdAndStop(console), StopRun);
  EXPECT_EQ(0u, console.unread());
}

}  // namespace
}  // namespace veg
