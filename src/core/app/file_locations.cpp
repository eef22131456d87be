#include "core/app/file_locations.hpp"

#include <cstdlib>
#include <system_error>
#include <vector>

#include "core/document/file_io.hpp"

#if __has_include(<unistd.h>) && __has_include(<pwd.h>)
#include <pwd.h>
#include <unistd.h>
#define CPS_HAVE_POSIX_USERS 1
#endif

namespace cps {

namespace fs = std::filesystem;

namespace {

// A language setup is a few lines; anything longer is not one to start from.
constexpr std::size_t kLanguageSetupLimit = 64 * 1024;

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

// The folder a variable names, when it names an absolute one; else `fallback`
// below the home folder; else nothing. A relative path in these variables is
// not to be used: it would follow whatever folder the program was started in.
fs::path userFolder(const std::string& variable, const std::string& home, const char* fallback) {
  if (const fs::path named(variable); !variable.empty() && named.is_absolute()) return named;
  if (const fs::path homeFolder(home); !home.empty() && homeFolder.is_absolute()) {
    return homeFolder / fallback;
  }
  return {};
}

bool userMayWrite(const fs::path& folder) {
#ifdef CPS_HAVE_POSIX_USERS
  // Asks for this user, the read-only mount included, without writing anything.
  return ::access(folder.c_str(), W_OK) == 0;
#else
  std::error_code ec;
  const auto perms = fs::status(folder, ec).permissions();
  return !ec && (perms & fs::perms::owner_write) != fs::perms::none;
#endif
}

std::string accountHome() {
#ifdef CPS_HAVE_POSIX_USERS
  std::vector<char> buffer(16 * 1024);
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
      found != nullptr && found->pw_dir != nullptr) {
    return found->pw_dir;
  }
#endif
  return {};
}

}  // namespace

ProgramFolders ProgramFolders::OfProgramFolder(const fs::path& programFolder,
                                               const fs::path& userData) {
  auto program = programFolder;
  if (!program.has_filename()) program = program.parent_path();  // a trailing separator
  ProgramFolders folders;
  folders.program = program;
  folders.base = program.parent_path();
  folders.written = {folders.base / "language" / "mysetup.ini",
                     folders.base / "ports.ini",
                     program / "Setting.ini",
                     program / "Habit.ini",
                     userData.empty() ? fs::path() : userData / "backups",
                     userData.empty() ? fs::path() : userData / "recovered"};
  return folders;
}

UserEnvironment UserEnvironment::OfProcess() {
  UserEnvironment user{environmentValue("HOME"), environmentValue("XDG_CONFIG_HOME"),
                       environmentValue("XDG_DATA_HOME")};
  if (user.home.empty()) user.home = accountHome();
  return user;
}

ProgramFolders DecideProgramFolders(const InstallationFacts& facts) {
  const fs::path data = userFolder(facts.user.xdgDataHome, facts.user.home, ".local/share");
  ProgramFolders folders = ProgramFolders::OfProgramFolder(
      facts.programFolder, data.empty() ? fs::path() : data / kUserFolderName);
  if (facts.userMayWrite && !facts.systemInstallation) return folders;

  folders.perUser = true;
  const fs::path config = userFolder(facts.user.xdgConfigHome, facts.user.home, ".config");
  if (config.empty()) {
    // No folder of the user's is known: nothing can be kept, and nothing is
    // written beside the programs instead.
    folders.written = WrittenFiles{};
    return folders;
  }
  const fs::path settings = config / kUserFolderName;
  // Like the program folder, each program version keeps its own link
  // settings and habits; the language setup and the port numbers are shared.
  const fs::path versionSettings = settings / folders.program.filename();
  folders.written.languageSetup = settings / "mysetup.ini";
  folders.written.portMap = settings / "ports.ini";
  folders.written.linkSettings = versionSettings / "Setting.ini";
  folders.written.habits = versionSettings / "Habit.ini";
  return folders;
}

InstallationFacts ProbeInstallation(const fs::path& programFolder) {
  InstallationFacts facts;
  facts.programFolder = programFolder;
  const auto portable = ProgramFolders::OfProgramFolder(programFolder);
  facts.userMayWrite = userMayWrite(portable.program) && userMayWrite(portable.base);
  std::error_code ec;
  facts.systemInstallation = fs::exists(portable.base / kSystemInstallationMarker, ec);
  facts.user = UserEnvironment::OfProcess();
  return facts;
}

std::string PrepareUserFolders(const ProgramFolders& folders) {
  if (!folders.perUser) return {};
  const auto& setup = folders.languageSetup();
  if (setup.empty()) return "no home folder is known to keep the settings in";
  std::error_code ec;
  for (const auto& folder : {setup.parent_path(), folders.linkSettings().parent_path()}) {
    fs::create_directories(folder, ec);
    if (ec) return "cannot make the folder " + folder.string() + ": " + ec.message();
  }
  if (fs::exists(setup, ec) || ec) return {};
  // A missing shipped file leaves the user's missing too: a first run all the same.
  const auto shipped = ReadWholeFile(folders.shippedLanguageSetup(), kLanguageSetupLimit);
  if (!shipped.ok() || shipped.bytes.size() > kLanguageSetupLimit) return {};
  return WriteFileAtomically(setup, shipped.bytes);
}

}  // namespace cps
