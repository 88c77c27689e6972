// The two built converters under faults: keyboard input that ends at every
// prompt, a working directory where nothing can be created, names that are
// directories or devices, and lines of any length. Each run ends normally
// and overwrites nothing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/testing/program.h"

namespace {

using Lines = std::vector<std::string>;
using veg::testing::builtProgram;
using veg::testing::ProgramRun;
using veg::testing::RunLimits;

const std::string kDeckload = "deckload/deckload";
const std::string kDecksave = "decksave/decksave";

// Samples 1 and 3: the jump gives the warning with its pause.
const Lines kCornell = {"TITLE",
                        "(i4,2x,7(i5,f5.1))                                                   7",
                        "   1     1 25.0    2  3.0",
                        "   3     2 12.5",
                        "   0",
                        "FestrubrAgrocapi",
                        "Q1      Q2      Q3"};
const Lines kSamples = {"Q1", " fest rubr    25", " agro capi     3", "", "Q2", " agro capi  12.5", ""};

bool contains(const Lines& lines, const std::string& wanted) {
  return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

RunLimits hangGuard() {
  RunLimits limits;
  limits.time_limit_seconds = 10;
  return limits;
}

TEST(ConverterFaultTest, DeckloadEndOfInputAtEveryPromptEndsNormally) {
  // Input name, output name, the pause at the warning, RETURN at hold.
  const Lines replies = {"", "", "", ""};
  for (std::size_t k = 0; k <= replies.size(); ++k) {
    ProgramRun run;
    run.put("CORNELL.txt", kCornell);
    ASSERT_EQ(0, run.run(builtProgram(kDeckload), Lines(replies.begin(), replies.begin() + k),
                         hangGuard()))
        << k;
    // Up to the end of the conversion the sample file stays empty; once the
    // pause is answered it is whole.
    const Lines written = run.lines("SAMP.txt");
    if (k < 3) {
      EXPECT_TRUE(written.empty()) << k;
    } else {
      EXPECT_EQ((Lines{"Q1      ", " Fest rubr    25.0", " Agro capi     3.0", "", "Q3      ",
                       " Agro capi    12.5", ""}),
                written)
          << k;
    }
    EXPECT_EQ(kCornell, run.lines("CORNELL.txt"));
  }
}

TEST(ConverterFaultTest, DecksaveEndOfInputBeforeTheOutputNameWritesNothing) {
  for (std::size_t k = 0; k < 2; ++k) {
    ProgramRun run;
    run.put("SAMP.txt", kSamples);
    ASSERT_EQ(0, run.run(builtProgram(kDecksave), Lines(k, ""), hangGuard())) << k;
    EXPECT_FALSE(run.exists("CORNELL.txt")) << k;
    EXPECT_EQ(kSamples, run.lines("SAMP.txt"));
  }
}

TEST(ConverterFaultTest, NowhereToCreateTheOutputIsReported) {
  ProgramRun run;
  // Typed names hold 20 characters: the input files lie in a short path.
  std::string shelf = "/tmp/vfXXXXXX";
  ASSERT_NE(nullptr, mkdtemp(shelf.data()));
  ProgramRun writer;
  writer.dir.swap(shelf);
  writer.put("C", kCornell);
  writer.put("S", kSamples);
  RunLimits limits = hangGuard();
  // Root may write anywhere on a writable file system, but not in /proc.
  limits.working_dir = "/proc";
  if (geteuid() != 0) {
    limits.working_dir = run.dir + "/locked";
    std::filesystem::create_directory(limits.working_dir);
    std::filesystem::permissions(limits.working_dir, std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::owner_exec);
  }
  ASSERT_EQ(0, run.run(builtProgram(kDeckload), {writer.dir + "/C", "", ""}, limits));
  EXPECT_TRUE(contains(run.screen,
                       "  *** ERROR *** Cannot create SAMP.txt or any numbered variant of it"));
  EXPECT_EQ("*************************", run.screen.back());

  ASSERT_EQ(0, run.run(builtProgram(kDecksave), {writer.dir + "/S", "", ""}, limits));
  EXPECT_TRUE(contains(run.screen,
                       "  *** ERROR *** Cannot create CORNELL.txt or any numbered variant of it"));
  EXPECT_EQ("*************************", run.screen.back());
  if (limits.working_dir != "/proc") {
    std::filesystem::permissions(limits.working_dir, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add);
  }
  std::filesystem::remove_all(shelf);
}

TEST(ConverterFaultTest, DirectoriesAreNeitherReadNorReplaced) {
  for (const auto& [program, input, output] :
       {std::tuple{kDeckload, "CORNELL.txt", "SAMP.txt"},
        std::tuple{kDecksave, "SAMP.txt", "CORNELL.txt"}}) {
    ProgramRun run;
    std::filesystem::create_directory(run.dir + "/" + input);
    std::filesystem::create_directory(run.dir + "/out");
    run.put("real", program == kDeckload ? kCornell : kSamples);
    ASSERT_EQ(0, run.run(builtProgram(program), {"", "real", "out", "", "", "", ""}, hangGuard()));
    // Both questions say why the name cannot be used.
    EXPECT_EQ(2, std::count(run.screen.begin(), run.screen.end(),
                            "  *** ERROR *** That name is a directory, not a file"))
        << program;
    EXPECT_TRUE(std::filesystem::is_directory(run.dir + "/out"));
    EXPECT_TRUE(run.exists(output)) << program;
  }
}

// Names longer than 20 characters are used whole, on both questions of
// both converters, never the file of their first 20 characters; one that
// is taken is echoed whole.
TEST(ConverterFaultTest, LongFileNamesAreUsedWhole) {
  const std::string cornell = "dune-meadow-survey-1983.cornell";
  const std::string samples = "dune-meadow-survey-1983.samples.txt";
  ProgramRun run;
  run.put(cornell, kCornell);
  run.put(cornell.substr(0, 20), {"not this one"});
  run.put(samples, {"keep"});
  ASSERT_EQ(0, run.run(builtProgram(kDeckload),
                       {cornell, samples, samples + ".new", "", ""}, hangGuard()));
  EXPECT_TRUE(contains(run.screen, " Type another name, not " + samples));
  EXPECT_EQ((Lines{"Q1      ", " Fest rubr    25.0", " Agro capi     3.0", "", "Q3      ",
                   " Agro capi    12.5", ""}),
            run.lines(samples + ".new"));
  EXPECT_EQ(Lines{"keep"}, run.lines(samples));

  ASSERT_EQ(0, run.run(builtProgram(kDecksave), {samples + ".new", cornell + ".back", ""},
                       hangGuard()));
  EXPECT_EQ((Lines{"NO TITLE",
                   "(i4,2x,7(i5,f5.1))                                                   7",
                   "   1      1 25.0    2  3.0", "   2      2 12.5", "   0",
                   "FestrubrAgrocapi", "Q1      Q3      "}),
            run.lines(cornell + ".back"));
}

// A name that is no regular file, /dev/zero, is refused with the reason
// instead of being read for ever; the default is taken next.
TEST(ConverterFaultTest, DevicesAreRefusedAsInputFiles) {
  for (const auto& [program, input] : {std::pair{kDeckload, kCornell}, std::pair{kDecksave, kSamples}}) {
    ProgramRun run;
    run.put(program == kDeckload ? "CORNELL.txt" : "SAMP.txt", input);
    ASSERT_EQ(0, run.run(builtProgram(program), {"/dev/zero", "", "", "", "", ""}, hangGuard()))
        << program;
    EXPECT_TRUE(contains(run.screen, "  *** ERROR *** That name is a device or a pipe, not a file"))
        << program;
    EXPECT_EQ("*************************", run.screen.back()) << program;
  }
}

// Lines of megabytes, a title and a sample name with a long tail of blanks
// and text, convert as their first columns do.
TEST(ConverterFaultTest, LinesOfAnyLengthConvertByTheirFirstColumns) {
  const std::string tail(3 << 20, ' ');
  ProgramRun run;
  Lines cornell = kCornell;
  cornell[0] += tail + "and more";
  run.put("CORNELL.txt", cornell);
  ASSERT_EQ(0, run.run(builtProgram(kDeckload), {"", "", "", ""}, hangGuard()));
  EXPECT_EQ(veg::testing::holdNotice(),
            Lines(run.screen.end() - 11, run.screen.end()));
  EXPECT_EQ((Lines{"Q1      ", " Fest rubr    25.0", " Agro capi     3.0", "", "Q3      ",
                   " Agro capi    12.5", ""}),
            run.lines("SAMP.txt"));

  ProgramRun save;
  save.put("SAMP.txt", {"Q1" + tail + "x", " fest rubr    25" + tail, "", "Q2",
                        " agro capi  12.5" + tail + "0"});
  ASSERT_EQ(0, save.run(builtProgram(kDecksave), {"", "", ""}, hangGuard()));
  EXPECT_EQ((Lines{"NO TITLE",
                   "(i4,2x,7(i5,f5.1))                                                   7",
                   "   1      1 25.0", "   2      2 12.5", "   0", "festrubragrocapi",
                   "Q1      Q2      "}),
            save.lines("CORNELL.txt"));
}

}  // namespace
