#include "common/files.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/console.h"
#include "common/testing/fakes.h"

namespace veg {
namespace {

namespace fs = std::filesystem;

// Runs in a fresh temporary directory, the working directory of the files.
struct RealFilesTest : ::testing::Test {
  fs::path previous = fs::current_path();
  fs::path dir;
  RealFileSystem files;

  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vegfiles.XXXXXX").string();
    ASSERT_NE(nullptr, mkdtemp(pattern.data()));
    dir = pattern;
    fs::current_path(dir);
  }
  void TearDown() override {
    fs::current_path(previous);
    fs::remove_all(dir);
  }
  static std::string contents(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST_F(RealFilesTest, CreatedFilesAreWrittenLineByLine) {
  {
    auto file = files.createNew("OUT.txt");
    ASSERT_TRUE(file);
    file->writeLine("first  ");
    file->writeLine("");
  }
  EXPECT_EQ("first  \n\n", contents("OUT.txt"));
}

// Text of several lines is written as its lines would be one by one: a
// line feed after the last line when it has none, and nothing for no text;
// a file of the test doubles receives the same lines.
TEST_F(RealFilesTest, TextIsWrittenAsItsLines) {
  {
    auto file = files.createNew("TEXT.txt");
    ASSERT_TRUE(file);
    file->writeText("a,1\n\nb,2\n");
    file->writeText("");
    file->writeText("last  ");
    file->flush();
  }
  EXPECT_EQ("a,1\n\nb,2\nlast  \n", contents("TEXT.txt"));

  testing::MemoryFileSystem memory;
  {
    auto file = memory.createNew("TEXT.txt");
    file->writeText("a,1\n\nb,2\n");
    file->writeText("");
    file->writeText("last  ");
  }
  EXPECT_EQ((std::vector<std::string>{"a,1", "", "b,2", "last  "}), memory.lines("TEXT.txt"));
}

TEST_F(RealFilesTest, ExistingFilesAreNeverOverwritten) {
  std::ofstream("OLD.txt") << "keep\n";
  EXPECT_EQ(nullptr, files.createNew("OLD.txt"));
  EXPECT_EQ(nullptr, files.createNew(""));
  EXPECT_EQ(nullptr, files.createNew("no/such/dir.txt"));
  EXPECT_EQ("keep\n", contents("OLD.txt"));
}

// A rename replaces a file only when asked, never a directory; the test
// doubles rename and remove alike.
TEST_F(RealFilesTest, RenameReplacesOnlyWhenAskedAndRemoveRemoves) {
  std::ofstream("A.txt") << "a\n";
  std::ofstream("B.txt") << "b\n";
  fs::create_directory("D");
  testing::MemoryFileSystem memory;
  memory.put("A.txt", {"a"});
  memory.put("B.txt", {"b"});
  memory.directories.insert("D");
  for (FileSystem* system : {static_cast<FileSystem*>(&files), static_cast<FileSystem*>(&memory)}) {
    EXPECT_FALSE(system->rename("A.txt", "B.txt", false));
    EXPECT_FALSE(system->rename("A.txt", "D", true));
    EXPECT_FALSE(system->rename("none.txt", "C.txt", false));
    EXPECT_TRUE(system->rename("A.txt", "C.txt", false));
    EXPECT_TRUE(system->rename("C.txt", "B.txt", true));
    EXPECT_FALSE(system->openExisting("A.txt"));
    EXPECT_FALSE(system->openExisting("C.txt"));
    std::string line;
    auto b = system->openExisting("B.txt");
    ASSERT_TRUE(b && b->readLine(line));
    EXPECT_EQ("a", line);
    b.reset();
    EXPECT_TRUE(system->remove("B.txt"));
    EXPECT_FALSE(system->remove("B.txt"));
  }
}

TEST_F(RealFilesTest, ReadingDropsLineEndsAndRewinds) {
  std::ofstream("IN.txt", std::ios::binary) << "one\r\ntwo  \nlast";
  auto file = files.openExisting("IN.txt");
  ASSERT_TRUE(file);
  std::string line;
  ASSERT_TRUE(file->readLine(line));
  EXPECT_EQ("one", line);
  ASSERT_TRUE(file->readLine(line));
  EXPECT_EQ("two  ", line);
  ASSERT_TRUE(file->readLine(line));
  EXPECT_EQ("last", line);
  EXPECT_FALSE(file->readLine(line));
  file->rewind();
  ASSERT_TRUE(file->readLine(line));
  EXPECT_EQ("one", line);
  EXPECT_EQ(nullptr, files.openExisting("MISSING.txt"));
}


// Files are read a block at a time: lines that run over the end of a block,
// lines longer than a block, blank lines, a carriage return split from its
// line feed by a block's end, bytes of 0 and a file that ends in the middle
// of a line all read as the lines they are.
TEST_F(RealFilesTest, LinesReadWholeAcrossTheBlocksOfALargeFile) {
  constexpr std::size_t kBlock = 1 << 16;
  const std::string long_line(3 * kBlock + 17, 'x');
  std::string text;
  std::vector<std::string> expected;
  auto add = [&](const std::string& line, const char* end) {
    text += line + end;
    expected.push_back(line);
  };
  // A carriage return as the last byte of the first block, its line feed
  // the first of the second.
  add(std::string(kBlock - 2, 'a'), "\r\n");
  add("", "\n");
  add(long_line, "\n");
  add(std::string("nul\0inside", 10), "\r\n");
  for (int i = 0; i < 20000; ++i) add("Q" + std::to_string(i) + ",Festuca rubra,25", "\n");
  add("last without a line end", "");
  std::ofstream("BIG.txt", std::ios::binary) << text;

  auto file = files.openExisting("BIG.txt");
  ASSERT_TRUE(file);
  std::string line;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    ASSERT_TRUE(file->readLine(line)) << i;
    ASSERT_EQ(expected[i], line) << i;
  }
  EXPECT_FALSE(file->readLine(line));
  EXPECT_FALSE(file->readLine(line));
  // Back to the start from the end, and from the middle of a block.
  for (int twice = 0; twice < 2; ++twice) {
    file->rewind();
    for (std::size_t i = 0; i < 6; ++i) {
      ASSERT_TRUE(file->readLine(line)) << i;
      EXPECT_EQ(expected[i], line) << i;
    }
  }
}
// A bounded read keeps the first characters of each line, whatever its
// length, and goes on at the next line; a line read so never holds more
// than its prefix, however long the line on the disk.
TEST_F(RealFilesTest, LinePrefixesOfLinesOfAnyLength) {
  constexpr std::size_t kBlock = 1 << 16;
  std::ofstream("LONG.txt", std::ios::binary)
      << std::string(3 * kBlock + 5, 'x') << "\r\n"
      << "0123456789\r\n"     // exactly the limit, then CR LF
      << "0123456789a\r\n"    // one over
      << "012345678\r\n"      // one under
      << "0123456789\r\r\n"  // the limit, then a carriage return of its own
      << std::string(kBlock - 1, 'y') << "\n"
      << "last";
  auto file = files.openExisting("LONG.txt");
  ASSERT_TRUE(file);
  std::string line;
  const std::vector<std::string> expected = {"xxxxxxxxxx", "0123456789", "0123456789",
                                             "012345678",  "0123456789", "yyyyyyyyyy",
                                             "last"};
  for (const std::string& wanted : expected) {
    ASSERT_TRUE(file->readLinePrefix(line, 10)) << wanted;
    EXPECT_EQ(wanted, line);
    EXPECT_LT(line.capacity(), 64u) << wanted;
  }
  EXPECT_FALSE(file->readLinePrefix(line, 10));
  file->rewind();
  ASSERT_TRUE(file->readLinePrefix(line, kLinePrefixLimit));
  EXPECT_EQ(std::string(kLinePrefixLimit, 'x'), line);

  testing::MemoryFileSystem memory;
  memory.put("LONG.txt", {std::string(100, 'z'), "short"});
  auto fake = memory.openExisting("LONG.txt");
  ASSERT_TRUE(fake->readLinePrefix(line, 10));
  EXPECT_EQ(std::string(10, 'z'), line);
  ASSERT_TRUE(fake->readLinePrefix(line, 10));
  EXPECT_EQ("short", line);
  EXPECT_FALSE(fake->readLinePrefix(line, 10));
}

TEST_F(RealFilesTest, KindOfANameTellsFilesFromDirectoriesAndDevices) {
  std::ofstream("FILE.txt") << "x\n";
  fs::create_directory("DIR");
  EXPECT_EQ(FileKind::kRegular, files.kindOf("FILE.txt"));
  EXPECT_EQ(FileKind::kDirectory, files.kindOf("DIR"));
  EXPECT_EQ(FileKind::kOther, files.kindOf("/dev/null"));
  EXPECT_EQ(FileKind::kMissing, files.kindOf("MISSING.txt"));
  EXPECT_EQ(FileKind::kMissing, files.kindOf(""));
}

// The rest of a file read at once holds the lines readLine would give, each
// ended by a line feed, after what the text held; lines read before are not
// read again.
TEST_F(RealFilesTest, RestOfAFileReadAtOnceHoldsItsLines) {
  const std::string beyond_block(70000, 'x');
  struct Case {
    std::string bytes;
    int lines_read_first;
    std::string rest;
  };
  const std::vector<Case> cases = {
      {"one\r\ntwo  \nlast", 0, "one\ntwo  \nlast\n"},
      {"", 0, ""},
      {"a\n\nb\n", 0, "a\n\nb\n"},
      {"x\r", 0, "x\n"},
      {"\r", 0, "\n"},
      {"a\r\r\nb", 0, "a\r\nb\n"},
      {"mid\rdle\n", 0, "mid\rdle\n"},
      {std::string("nul\0in\r\n", 8), 0, std::string("nul\0in\n", 7)},
      {"first\nsecond\r\nthird", 1, "second\nthird\n"},
      {"first\nsecond\n", 2, ""},
      {"a\n" + beyond_block + "\r\nz", 1, beyond_block + "\nz\n"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove("REST.txt");
    std::ofstream("REST.txt", std::ios::binary) << c.bytes;
    auto file = files.openExisting("REST.txt");
    ASSERT_TRUE(file);
    std::string line;
    for (int i = 0; i < c.lines_read_first; ++i) ASSERT_TRUE(file->readLine(line));
    std::string text = "kept\n";
    file->readRest(text);
    EXPECT_EQ("kept\n" + c.rest, text) << c.bytes.substr(0, 20);
    EXPECT_FALSE(file->readLine(line));
  }
}

// The in-memory file gives its lines the same way, and fails at its read
// limit as readLine does, with the lines before the limit read.
TEST(MemoryFilesTest, RestOfAFileReadAtOnceHoldsItsLines) {
  testing::MemoryFileSystem files;
  files.put("REST.txt", {"a", "b ", ""});
  auto file = files.openExisting("REST.txt");
  std::string text;
  file->readRest(text);
  EXPECT_EQ("a\nb \n\n", text);

  files.read_limit["REST.txt"] = 2;
  file = files.openExisting("REST.txt");
  text.clear();
  EXPECT_THROW(file->readRest(text), FileError);
  EXPECT_EQ("a\nb \n", text);
}

TEST_F(RealFilesTest, ConsoleReadsWholeLinesUntilEndOfInput) {
  std::ofstream("keys", std::ios::binary) << "Q1\r\n\nfestuca rubra 25";
  std::FILE* in = std::fopen("keys", "r");
  std::FILE* out = std::fopen("screen", "w");
  {
    StdConsole console(in, out);
    console.writeLine(" prompt");
    EXPECT_EQ("Q1", console.ask());
    EXPECT_EQ("", console.ask());
    EXPECT_EQ("festuca rubra 25", console.ask());
    EXPECT_THROW(console.ask(), StopRun);
    console.blank(2);
  }
  std::fclose(in);
  std::fclose(out);
  EXPECT_EQ(" prompt\n\n\n", contents("screen"));
}

TEST_F(RealFilesTest, DirectoryIsNotAFileToRead) {
  fs::create_directory("SAMP.txt");
  EXPECT_EQ(nullptr, files.openExisting("SAMP.txt"));
  EXPECT_EQ(nullptr, files.createNew("SAMP.txt"));
}

// A file-size limit in a child process: the write that meets it is reported
// as a FileError naming the file, not a kill by SIGXFSZ nor a silent loss.
TEST_F(RealFilesTest, WritePastAFileSizeLimitIsAFileError) {
  pid_t child = fork();
  ASSERT_NE(-1, child);
  if (child == 0) {
    ignoreFileSizeSignal();
    rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    int status = 1;
    try {
      auto file = files.createNew("BIG.txt");
      for (int i = 0; i < 10000; ++i) file->writeLine("a line of some length");
      file->flush();
    } catch (const FileError& error) {
      status = error.name == "BIG.txt" && error.writing ? 3 : 2;
    }
    _exit(status);
  }
  int status = 0;
  ASSERT_EQ(child, waitpid(child, &status, 0));
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(3, WEXITSTATUS(status));
}

TEST_F(RealFilesTest, ReplacingOverwritesFilesButNeverDirectories) {
  std::ofstream("OLD.txt") << "old contents\n";
  {
    auto file = files.createReplacing("OLD.txt");
    ASSERT_TRUE(file);
    file->writeLine("new");
  }
  EXPECT_EQ("new\n", contents("OLD.txt"));
  {
    auto file = files.createReplacing("FRESH.txt");
    ASSERT_TRUE(file);
  }
  EXPECT_TRUE(fs::exists("FRESH.txt"));
  fs::create_directory("DIR.txt");
  EXPECT_EQ(nullptr, files.createReplacing("DIR.txt"));
  EXPECT_EQ(nullptr, files.createReplacing(""));
  EXPECT_TRUE(fs::is_directory("DIR.txt"));
}

TEST_F(RealFilesTest, StreamFileLeavesTheStreamOpen) {
  std::FILE* out = std::fopen("stream", "w");
  ASSERT_NE(nullptr, out);
  {
    auto file = streamFile(out, "standard output");
    file->writeLine("one");
  }
  // Still open: a further write goes to the same file.
  EXPECT_EQ(0, std::fputs("two\n", out) < 0);
  std::fclose(out);
  EXPECT_EQ("one\ntwo\n", contents("stream"));
}

TEST(TrimNameTest, DropsTrailingBlanksOnly) {
  EXPECT_EQ("SAMP.txt", trimName("SAMP.txt            "));
  EXPECT_EQ(" a b", trimName(" a b  "));
  EXPECT_EQ("", trimName("    "));
}

}  // namespace
}  // namespace veg
