#include "common/installation.h"

#include <array>
#include <filesystem>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace veg {

namespace {

constexpr std::array<std::string_view, 5> kReferenceFiles = {
    "SPECDICT.txt", "ASSOCTAB.txt", "NVCTYPES.txt", "HELP.txt", "VERSION.txt"};

// The first line of `file` without trailing blanks; empty when it has none.
std::string firstLine(TextFile* file) {
  std::string line;
  if (file == nullptr || !file->readLine(line)) return {};
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
  return line;
}

}  // namespace

const char* suiteVersion() { return VEG_VERSION; }

std::string programDirectory(const char* argv0) {
  std::error_code error;
  std::filesystem::path program;
#ifdef _WIN32
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) break;
    if (length < name.size()) {
      name.resize(length);
      program = std::filesystem::path(name);
      break;
    }
    name.resize(name.size() * 2);
  }
#else
  program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) program.clear();
#endif
  if (program.empty() && argv0 != nullptr && *argv0 != '\0') {
    program = std::filesystem::absolute(argv0, error);
    if (error) program.clear();
  }
  return program.empty() ? std::string() : program.parent_path().string();
}

std::string installedDataDirectory(const std::string& program_dir) {
#ifdef _WIN32
  constexpr char kBesideBin[] = "\\..\\share\\vegsuite\\data";
#else
  constexpr char kBesideBin[] = "/../share/vegsuite/data";
#endif
  return program_dir.empty() ? std::string() : program_dir + kBesideBin;
}

bool isReferenceFile(std::string_view name) {
  for (std::string_view file : kReferenceFiles) {
    if (name == file) return true;
  }
  return false;
}

InstalledDataFileSystem::InstalledDataFileSystem(FileSystem& local, std::string installed_dir)
    : local_(local), installed_dir_(std::move(installed_dir)) {}

std::string InstalledDataFileSystem::installedName(const std::string& name) const {
  if (installed_dir_.empty() || !isReferenceFile(name)) return {};
  return installed_dir_ + "/" + name;
}

FileKind InstalledDataFileSystem::kindOf(const std::string& name) {
  const FileKind kind = local_.kindOf(name);
  const std::string installed = installedName(name);
  if (kind != FileKind::kMissing || installed.empty()) return kind;
  return local_.kindOf(installed);
}

std::unique_ptr<TextFile> InstalledDataFileSystem::openExisting(const std::string& name) {
  // Only a file that is not there falls back: one that is there but cannot
  // be read is the user's to mend, not to be replaced by another.
  if (auto file = local_.openExisting(name)) return file;
  const std::string installed = installedName(name);
  if (installed.empty() || local_.kindOf(name) != FileKind::kMissing) return nullptr;
  return local_.openExisting(installed);
}

std::unique_ptr<TextFile> InstalledDataFileSystem::createNew(const std::string& name) {
  return local_.createNew(name);
}

std::unique_ptr<TextFile> InstalledDataFileSystem::createReplacing(const std::string& name) {
  return local_.createReplacing(name);
}

bool InstalledDataFileSystem::rename(const std::string& from, const std::string& to, bool replace) {
  return local_.rename(from, to, replace);
}

bool InstalledDataFileSystem::remove(const std::string& name) { return local_.remove(name); }

std::string InstalledDataFileSystem::referenceDataLine() {
  const auto dataLine = [this](const std::string& version_file, const std::string& where) {
    const std::string version = firstLine(local_.openExisting(version_file).get());
    return "reference data: " + (version.empty() ? std::string("version not known") : version) +
           " (" + where + ")";
  };
  if (local_.kindOf("ASSOCTAB.txt") != FileKind::kMissing) {
    return dataLine("VERSION.txt", "working directory");
  }
  const std::string installed = installedName("ASSOCTAB.txt");
  if (!installed.empty() && local_.kindOf(installed) != FileKind::kMissing) {
    return dataLine(installedName("VERSION.txt"), installed_dir_);
  }
  return "reference data: none found (no ASSOCTAB.txt in the working directory" +
         (installed_dir_.empty() ? std::string() : " or " + installed_dir_) + ")";
}

std::optional<int> answerCommandLine(std::string_view program, const std::vector<std::string>& args,
                                     const std::function<std::vector<std::string>()>& version_lines,
                                     TextFile& out, TextFile& errors) {
  if (args.empty()) return std::nullopt;
  const std::string usage = "usage: " + std::string(program) + " [--version | --help]";
  if (args.size() == 1 && args[0] == "--version") {
    for (const std::string& line : version_lines()) out.writeLine(line);
    out.flush();
    return 0;
  }
  if (args.size() == 1 && args[0] == "--help") {
    out.writeLine(usage);
    out.writeLine("Without arguments " + std::string(program) +
                  " starts and asks for everything it needs; see man " + std::string(program) +
                  ".");
    out.flush();
    return 0;
  }
  const bool asked = args[0] == "--version" || args[0] == "--help";
  errors.writeLine(std::string(program) + ": unknown argument: " + args[asked ? 1 : 0]);
  errors.writeLine(usage);
  errors.flush();
  return 2;
}

std::optional<int> answerProgramArguments(
    std::string_view program, int argc, char** argv,
    const std::function<std::vector<std::string>()>& version_lines) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  auto out = streamFile(stdout, "standard output");
  auto errors = streamFile(stderr, "standard error");
  return answerCommandLine(program, args, version_lines, *out, *errors);
}

}  // namespace veg
