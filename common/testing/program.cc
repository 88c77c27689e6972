#include "common/testing/program.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "common/testing/fakes.h"

namespace veg::testing {

namespace fs = std::filesystem;

namespace {

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string environment(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : fallback;
}

}  // namespace

ProgramRun::ProgramRun() {
  std::string pattern = (fs::temp_directory_path() / "vegrun.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  dir = pattern;
}

ProgramRun::~ProgramRun() {
  std::error_code ignored;
  fs::remove_all(dir, ignored);
}

void ProgramRun::put(const std::string& name, const std::vector<std::string>& lines) const {
  std::ofstream out(dir + "/" + name, std::ios::binary);
  for (const auto& line : lines) out << line << '\n';
}

void ProgramRun::copy(const std::string& from, const std::string& name) const {
  fs::copy_file(from, dir + "/" + name, fs::copy_options::overwrite_existing);
}

int ProgramRun::run(const std::string& program, const std::vector<std::string>& input) {
  return run(program, input, RunLimits{});
}

int ProgramRun::run(const std::string& program, const std::vector<std::string>& input,
                    const RunLimits& limits) {
  return run(program, {}, input, limits);
}

namespace {

// `text` as one word of a shell command line.
std::string shellWord(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

}  // namespace

int ProgramRun::run(const std::string& program, const std::vector<std::string>& args,
                    const std::vector<std::string>& input, const RunLimits& limits) {
  put(".stdin", input);
  const double seconds =
      limits.kill_after_seconds > 0 ? limits.kill_after_seconds : limits.time_limit_seconds;
  const std::string where = limits.working_dir.empty() ? dir : limits.working_dir;
  std::string start = "exec timeout -s KILL " + std::to_string(seconds) + " '" + program + "'";
  for (const std::string& arg : args) start += " " + shellWord(arg);
  start += " < '" + dir + "/.stdin' 2> '" + dir + "/.stderr'";
  std::string command = "cd '" + where + "' && ";
  if (limits.file_size_limit_kib > 0) {
    // bash counts ulimit -f in 1024-byte blocks. The limit is for the
    // program's files: its screen goes through a pipe, which no limit cuts
    // short, so the screen is kept whole.
    command += "( ulimit -f " + std::to_string(limits.file_size_limit_kib) + " && " + start +
               " ) | cat > '" + dir + "/.stdout'; exit \"${PIPESTATUS[0]}\"";
  } else {
    command += start + " > '" + dir + "/.stdout'";
  }
  // The command goes to bash as one argument, quoted for the shell that
  // std::system starts.
  int status = std::system(("bash -c " + shellWord(command)).c_str());
  screen = splitLines(readAll(dir + "/.stdout"));
  errors = splitLines(readAll(dir + "/.stderr"));
  for (const char* name : {".stdin", ".stdout"}) fs::remove(dir + "/" + name);
  if (fs::file_size(dir + "/.stderr") == 0) fs::remove(dir + "/.stderr");
  if (!WIFEXITED(status)) return -1;
  // timeout exits with 128 + 9 when it had to kill the program.
  return WEXITSTATUS(status) == 137 ? -1 : WEXITSTATUS(status);
}

std::vector<std::string> ProgramRun::lines(const std::string& name) const {
  if (!exists(name)) return {};
  return splitLines(readAll(dir + "/" + name));
}

bool ProgramRun::exists(const std::string& name) const { return fs::exists(dir + "/" + name); }

std::vector<std::string> ProgramRun::files() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

void putShippedData(const ProgramRun& run) {
  for (const char* name : {"SPECDICT.txt", "ASSOCTAB.txt", "NVCTYPES.txt", "HELP.txt"}) {
    run.copy(sourceFile(std::string("data/") + name), name);
  }
}

std::vector<std::string> holdNotice() {
  return {"",
          "",
          "",
          "",
          "*** Program finished  ***",
          "",
          "",
          "Press <RETURN> to exit",
          "",
          "",
          "*************************"};
}

std::string firstDifference(const std::vector<std::string>& expected,
                            const std::vector<std::string>& actual) {
  std::size_t n = std::min(expected.size(), actual.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (expected[i] != actual[i])
      return "line " + std::to_string(i + 1) + ":\n  expected [" + expected[i] + "]\n  actual   [" +
             actual[i] + "]";
  }
  if (expected.size() != actual.size())
    return "expected " + std::to_string(expected.size()) + " lines, got " +
           std::to_string(actual.size()) + "; first extra: [" +
           (expected.size() > n ? expected[n] : actual[n]) + "]";
  return "";
}

std::string builtProgram(const std::string& relative) {
  return environment("VEG_BINARY_DIR", VEG_DEFAULT_BINARY_DIR) + "/" + relative;
}

std::string sourceFile(const std::string& relative) {
  return environment("VEG_SOURCE_DIR", VEG_DEFAULT_SOURCE_DIR) + "/" + relative;
}

}  // namespace veg::testing
