#include "common/default_file.h"

#include <gtest/gtest.h>

#include "common/testing/fakes.h"

namespace veg {
namespace {

struct DefaultFileTest : ::testing::Test {
  testing::MemoryFileSystem fs;
  std::unique_ptr<TextFile> unit;
  std::string name = "SAMP.txt            ";
};

TEST_F(DefaultFileTest, FreeDefaultIsUsedAsItIs) {
  ASSERT_TRUE(createDefaultOrVariant(fs, name, unit));
  EXPECT_EQ("SAMP.txt            ", name);
  EXPECT_TRUE(fs.exists("SAMP.txt"));
  unit->writeLine("x");
  EXPECT_EQ(std::vector<std::string>{"x"}, fs.lines("SAMP.txt"));
}

TEST_F(DefaultFileTest, TakenNamesGetTheFirstFreeNumber) {
  fs.put("SAMP.txt", {});
  fs.put("SAMP01.txt", {});
  ASSERT_TRUE(createDefaultOrVariant(fs, name, unit));
  EXPECT_EQ("SAMP02.txt          ", name);
}

TEST_F(DefaultFileTest, GapsAreUsed) {
  fs.put("SAMP.txt", {"keep"});
  fs.put("SAMP02.txt", {});
  ASSERT_TRUE(createDefaultOrVariant(fs, name, unit));
  EXPECT_EQ("SAMP01.txt          ", name);
  EXPECT_EQ(std::vector<std::string>{"keep"}, fs.lines("SAMP.txt"));
}

TEST_F(DefaultFileTest, NumberedNamesAlwaysEndInTxt) {
  name = "VEGMOUT.dat";
  fs.put("VEGMOUT.dat", {});
  ASSERT_TRUE(createDefaultOrVariant(fs, name, unit));
  EXPECT_EQ("VEGMOUT01.txt       ", name);
}

TEST_F(DefaultFileTest, LongNamesKeepThirteenCharacterStem) {
  name = "ABCDEFGHIJKLMNOPQRS";
  fs.put("ABCDEFGHIJKLMNOPQRS", {});
  ASSERT_TRUE(createDefaultOrVariant(fs, name, unit));
  EXPECT_EQ("ABCDEFGHIJKLM01.txt ", name);
}

TEST_F(DefaultFileTest, AllNinetyNineTakenGivesUpWithDefaultName) {
  fs.put("SAMP.txt", {});
  for (int i = 1; i <= 98; ++i) fs.uncreatable.insert((i < 10 ? "SAMP0" : "SAMP") + std::to_string(i) + ".txt");
  EXPECT_FALSE(createDefaultOrVariant(fs, name, unit));
  EXPECT_EQ("SAMP.txt            ", name);
  EXPECT_EQ(nullptr, unit);
}

}  // namespace
}  // namespace veg
