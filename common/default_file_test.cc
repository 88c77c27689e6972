#include "common/default_file.h"

#include <gtest/gtest.h>

#include "common/testing/fakes.h"

namespace veg {
namespace {

struct CreateDefaultOrVariantTest : ::testing::Test {
  testing::MemoryFileSystem fs;
  std::unique_ptr<TextFile> unit;
  std::string name = "SAMP.txt            ";
};

TEST_F(CreateDefaultOrVariantTest, FreeDefaultIsUsedAsItIs) {
  ASSERT_TRUE(createDefaultOrVariant(fs, name, unit));
  EXPECT_EQ("SAMP.txt            ", name);
  EXPECT_TRUE(fs.exists("SAMP.txt"));
  unit->writeLine("x");
  EXPECT_EQ(std::vector<std::string>{"x"}, fs.lines("SAMP.txt"));
}

TEST_F(CreateDefaultOrVariantTest, TakenNamesGetTheFirstFreeNumber) {
  fs.put("SAMP.txt", {});
  fs.put("SAMP01.txt", {});
  ASSERT_TRUE(createDefaultOrVariant(fs, name, unit));
  EXPECT_EQ("SAMP02.txt          ", name);
}

TEST_F(CreateDefaultOrVariantTest, GapsAreUsed) {
  fs.put("SAMP.txt", {"keep"});
  fs.put("SAMP02.txt", {});
  ASSERT_TRUE(createDefaultOrVariant(fs, name, unit));
  EXPECT_EQ("SAMP01.txt          ", name);
  EXPECT_EQ(std::vector<std::string>{"keep"}, fs.lines("SAMP.txt"));
}

TEST_F(CreateDefaultOrVariantTest, NumberedNamesAlwaysEndInTxt) {
  name = "VEGMOUT.dat";
  fs.put("VEGMOUT.dat", {});
  ASSERT_TRUE(createDefaultOrVariant(fs, name, unit));
  EXPECT_EQ("VEGMOUT01.txt       ", name);
}

TEST_F(CreateDefaultOrVariantTest, LongNamesKeepThirteenCharacterStem) {
  name = "ABCDEFGHIJKLMNOPQRS";
  fs.put("ABCDEFGHIJKLMNOPQRS", {});
  ASSERT_TRUE(createDefaultOrVariant(fs, name, unit));
  EXPECT_EQ("ABCDEFGHIJKLM01.txt ", name);
}

TEST_F(CreateDefaultOrVariantTest, AllNinetyNineTakenGivesUpWithDefaultName) {
  fs.put("SAMP.txt", {});
  for (int i = 1; i <= 98; ++i) fs.uncreatable.insert((i < 10 ? "SAMP0" : "SAMP") + std::to_string(i) + ".txt");
  EXPECT_FALSE(createDefaultOrVariant(fs, name, unit));
  EXPECT_EQ("SAMP.txt            ", name);
  EXPECT_EQ(nullptr, unit);
}

}  // namespace
}  // namespace veg
