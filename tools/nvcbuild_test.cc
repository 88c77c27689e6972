// nvcbuild run as a program: rebuilding from data/source must give the
// committed data files byte for byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::string env(const char* name, const char* otherwise) {
  const char* value = std::getenv(name);
  return value ? value : otherwise;
}

std::string contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class NvcbuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A directory of its own: CTest may run these tests in parallel.
    std::string pattern = (fs::temp_directory_path() / "nvcbuild.XXXXXX").string();
    ASSERT_NE(nullptr, mkdtemp(pattern.data()));
    out = pattern;
  }
  void TearDown() override { fs::remove_all(out); }
  int run(const std::string& arguments) {
    int status = std::system((std::string(NVCBUILD_PATH) + " " + arguments + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  fs::path out;
};

TEST_F(NvcbuildTest, RebuildEqualsTheCommittedFiles) {
  fs::path data = fs::path(env("VEG_SOURCE_DIR", VEG_DEFAULT_SOURCE_DIR)) / "data";
  ASSERT_EQ(0, run((data / "source").string() + " " + out.string()));
  for (const char* file :
       {"SPECDICT.txt", "ASSOCTAB.txt", "NVCTYPES.txt", "HELP.txt", "NAMES.txt", "UNITS.csv",
        "HABITATS.csv", "INDICATORS.csv", "FLORISTIC.csv", "VERSION.txt"}) {
    std::string built = contents(out / file), committed = contents(data / file);
    ASSERT_FALSE(built.empty()) << file;
    EXPECT_TRUE(built == committed) << file << " differs from the committed one: run "
                                    << "`cmake --build <dir> --target nvcdata_regen` and commit";
  }
  // and nothing else: every file the builder writes is committed and checked here
  std::size_t written = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(out)) ++written;
  EXPECT_EQ(10u, written);
}

TEST_F(NvcbuildTest, MissingSourcesFailWithoutWriting) {
  EXPECT_EQ(1, run((out / "nowhere").string() + " " + out.string()));
  EXPECT_TRUE(fs::is_empty(out));
}

TEST_F(NvcbuildTest, WrongArgumentCountIsAUsageError) { EXPECT_EQ(2, run(out.string())); }

}  // namespace
