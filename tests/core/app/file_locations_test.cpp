// Where each file lives: beside the programs in a portable folder its user may
// write, in the user's folders for an installed program, and never in the
// installed folder, whatever the environment says.
#include "core/app/file_locations.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "app_test_support.hpp"
#include "core/app/ini_file.hpp"
#include "core/app/settings_files.hpp"
#include "core/document/file_io.hpp"

namespace cps {
namespace {

namespace fs = std::filesystem;
using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

struct LocationCase {
  const char* what;
  bool userMayWrite;
  bool systemInstallation;
  UserEnvironment user;
  // Expected; "" for an empty path.
  bool perUser;
  const char* languageSetup;
  const char* portMap;
  const char* linkSettings;
  const char* habits;
  const char* backups;
  const char* recovered;
};

void PrintTo(const LocationCase& c, std::ostream* os) { *os << c.what; }

class DecideProgramFoldersTest : public ::testing::TestWithParam<LocationCase> {};

TEST_P(DecideProgramFoldersTest, PutsEveryWrittenFileInItsPlace) {
  const auto& c = GetParam();
  const auto folders =
      DecideProgramFolders({"/opt/cps/V200", c.userMayWrite, c.systemInstallation, c.user});
  EXPECT_EQ(folders.perUser, c.perUser);
  EXPECT_EQ(folders.languageSetup(), fs::path(c.languageSetup));
  EXPECT_EQ(folders.portMap(), fs::path(c.portMap));
  EXPECT_EQ(folders.linkSettings(), fs::path(c.linkSettings));
  EXPECT_EQ(folders.habits(), fs::path(c.habits));
  EXPECT_EQ(folders.written.backups, fs::path(c.backups));
  EXPECT_EQ(folders.written.recovered, fs::path(c.recovered));
  // What is shipped is read where it was installed, whoever runs the program.
  EXPECT_EQ(folders.versionTable(), fs::path("/opt/cps/Version.ini"));
  EXPECT_EQ(folders.languageFolder(), fs::path("/opt/cps/V200/language"));
  EXPECT_EQ(folders.initFolder(), fs::path("/opt/cps/V200/Init"));
  EXPECT_EQ(folders.pictureFolder(), fs::path("/opt/cps/V200/PIC"));
  EXPECT_EQ(folders.shippedLanguageSetup(), fs::path("/opt/cps/language/mysetup.ini"));
  // Nothing the program writes is ever in the installed folder.
  if (c.perUser) {
    for (const auto& written :
         {folders.languageSetup(), folders.portMap(), folders.linkSettings(), folders.habits()}) {
      EXPECT_EQ(written.string().rfind("/opt/cps", 0), std::string::npos) << written;
    }
  }
}

const UserEnvironment kHomeOnly{"/home/ann", "", ""};
const UserEnvironment kXdgSet{"/home/ann", "/srv/conf", "/srv/data"};

INSTANTIATE_TEST_SUITE_P(
    Locations, DecideProgramFoldersTest,
    ::testing::Values(
        LocationCase{"portable folder the user may write", true, false, kHomeOnly, false,
                     "/opt/cps/language/mysetup.ini", "/opt/cps/ports.ini",
                     "/opt/cps/V200/Setting.ini", "/opt/cps/V200/Habit.ini",
                     "/home/ann/.local/share/cps530/backups",
                     "/home/ann/.local/share/cps530/recovered"},
        LocationCase{"portable folder, XDG variables set", true, false, kXdgSet, false,
                     "/opt/cps/language/mysetup.ini", "/opt/cps/ports.ini",
                     "/opt/cps/V200/Setting.ini", "/opt/cps/V200/Habit.ini",
                     "/srv/data/cps530/backups", "/srv/data/cps530/recovered"},
        LocationCase{
            "installed read-only, XDG variables unset", false, false, kHomeOnly, true,
            "/home/ann/.config/cps530/mysetup.ini", "/home/ann/.config/cps530/ports.ini",
            "/home/ann/.config/cps530/V200/Setting.ini", "/home/ann/.config/cps530/V200/Habit.ini",
            "/home/ann/.local/share/cps530/backups", "/home/ann/.local/share/cps530/recovered"},
        LocationCase{"installed read-only, XDG variables set", false, false, kXdgSet, true,
                     "/srv/conf/cps530/mysetup.ini", "/srv/conf/cps530/ports.ini",
                     "/srv/conf/cps530/V200/Setting.ini", "/srv/conf/cps530/V200/Habit.ini",
                     "/srv/data/cps530/backups", "/srv/data/cps530/recovered"},
        LocationCase{"installed, XDG variables empty",
                     false,
                     false,
                     {"/home/ann", "", ""},
                     true,
                     "/home/ann/.config/cps530/mysetup.ini",
                     "/home/ann/.config/cps530/ports.ini",
                     "/home/ann/.config/cps530/V200/Setting.ini",
                     "/home/ann/.config/cps530/V200/Habit.ini",
                     "/home/ann/.local/share/cps530/backups",
                     "/home/ann/.local/share/cps530/recovered"},
        LocationCase{"installed, relative XDG variables are ignored",
                     false,
                     false,
                     {"/home/ann", "conf", "./data"},
                     true,
                     "/home/ann/.config/cps530/mysetup.ini",
                     "/home/ann/.config/cps530/ports.ini",
                     "/home/ann/.config/cps530/V200/Setting.ini",
                     "/home/ann/.config/cps530/V200/Habit.ini",
                     "/home/ann/.local/share/cps530/backups",
                     "/home/ann/.local/share/cps530/recovered"},
        LocationCase{"installed for the system, run by a user who may write it (root)",
                     true,
                     true,
                     {"/root", "", ""},
                     true,
                     "/root/.config/cps530/mysetup.ini",
                     "/root/.config/cps530/ports.ini",
                     "/root/.config/cps530/V200/Setting.ini",
                     "/root/.config/cps530/V200/Habit.ini",
                     "/root/.local/share/cps530/backups",
                     "/root/.local/share/cps530/recovered"},
        LocationCase{"installed, no home and no XDG variables: nothing is kept",
                     false,
                     false,
                     {"", "", ""},
                     true,
                     "",
                     "",
                     "",
                     "",
                     "",
                     ""},
        LocationCase{"installed, a relative home is no home",
                     false,
                     false,
                     {"ann", "", ""},
                     true,
                     "",
                     "",
                     "",
                     "",
                     "",
                     ""},
        LocationCase{"installed, no home but XDG variables set",
                     false,
                     false,
                     {"", "/srv/conf", "/srv/data"},
                     true,
                     "/srv/conf/cps530/mysetup.ini",
                     "/srv/conf/cps530/ports.ini",
                     "/srv/conf/cps530/V200/Setting.ini",
                     "/srv/conf/cps530/V200/Habit.ini",
                     "/srv/data/cps530/backups",
                     "/srv/data/cps530/recovered"}));

// ---- On a real folder ------------------------------------------------------------

// An installed program folder with the shipped language setup.
struct Installed {
  TempFolder tmp;
  fs::path program = tmp / "usr" / "lib" / "cps530" / "V200";
  fs::path home = tmp / "home";
  Installed() {
    fs::create_directories(program);
    WriteText(tmp / "usr" / "lib" / "cps530" / "language" / "mysetup.ini",
              "[language]\nIsFirstRun=1\ncomPort=1\nCurrentLanguage=1\n");
    fs::create_directories(home);
  }
  ProgramFolders perUser() const {
    return DecideProgramFolders({program, false, false, {home.string(), "", ""}});
  }
};

TEST(ProbeInstallationTest, WritableFolderIsPortableUntilMarkedAsInstalledForTheSystem) {
  Installed f;
  EXPECT_TRUE(ProbeInstallation(f.program).userMayWrite);
  EXPECT_FALSE(ProbeInstallation(f.program).systemInstallation);
  EXPECT_FALSE(DecideProgramFolders(ProbeInstallation(f.program)).perUser);
  WriteText(f.program.parent_path() / std::string(kSystemInstallationMarker), "");
  EXPECT_TRUE(ProbeInstallation(f.program).systemInstallation);
  EXPECT_TRUE(DecideProgramFolders(ProbeInstallation(f.program)).perUser);
}

TEST(PrepareUserFoldersTest, FirstStartOfAUserStartsFromTheShippedSetup) {
  Installed f;
  const auto folders = f.perUser();
  ASSERT_EQ(PrepareUserFolders(folders), "");
  EXPECT_EQ(ReadText(folders.languageSetup()), ReadText(folders.shippedLanguageSetup()));
  EXPECT_TRUE(ReadLanguageSetup(folders.languageSetup()).isFirstRun);
  EXPECT_TRUE(fs::is_directory(folders.linkSettings().parent_path()));
}

TEST(PrepareUserFoldersTest, KeepsWhatTheUserAlreadyHas) {
  Installed f;
  const auto folders = f.perUser();
  WriteText(folders.languageSetup(), "[language]\nIsFirstRun=0\ncomPort=4\n");
  ASSERT_EQ(PrepareUserFolders(folders), "");
  EXPECT_EQ(ReadText(folders.languageSetup()), "[language]\nIsFirstRun=0\ncomPort=4\n");
}

TEST(PrepareUserFoldersTest, PortableFolderIsLeftAsItIs) {
  Installed f;
  const auto folders = ProgramFolders::OfProgramFolder(f.program);
  ASSERT_EQ(PrepareUserFolders(folders), "");
  EXPECT_FALSE(fs::exists(f.home / ".config"));
  EXPECT_FALSE(fs::exists(folders.languageSetup()) &&
               folders.languageSetup() != folders.shippedLanguageSetup());
}

TEST(PrepareUserFoldersTest, WithoutAHomeNothingIsWrittenAnywhere) {
  Installed f;
  const auto folders = DecideProgramFolders({f.program, false, false, {"", "", ""}});
  EXPECT_NE(PrepareUserFolders(folders), "");
  // A write to a file that has no place is refused, not made in the current folder.
  {
    const testing::CurrentFolder inTheTemporaryFolder(f.tmp.path());
    EXPECT_NE(WriteFileAtomically(folders.habits(), std::vector<std::uint8_t>(10, 0)), "");
    EXPECT_NE(WriteProfileString(folders.languageSetup(), "language", "IsFirstRun", "0"), "");
  }
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(f.tmp.path())) ++entries;
  EXPECT_EQ(entries, 2u) << "only usr and home";
}

}  // namespace
}  // namespace cps
