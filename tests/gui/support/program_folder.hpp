// A portable program folder made for one test: base/V200 with the language
// files, base/language/mysetup.ini, base/Version.ini and base/ports.ini, in a
// temporary folder that goes away with the test.
#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/app/ini_file.hpp"
#include "core/app/settings_files.hpp"

namespace cps::gui::test {

class ProgramFolder {
 public:
  ProgramFolder() {
    namespace fs = std::filesystem;
    m_base = fs::path(m_dir.path().toStdString()) / "cps530";
    fs::create_directories(program() / "language");
    fs::create_directories(m_base / "language");
    const fs::path data = CPS_SOURCE_DATA_DIR;
    for (const char* file : {"english.ini", "chinese.ini"}) {
      fs::copy_file(data / "language" / file, program() / "language" / file);
    }
    fs::copy_file(data / "Version.ini", m_base / "Version.ini");
    if (fs::exists(data / "PIC")) fs::copy(data / "PIC", program() / "PIC");
    writeSetup("0", "1", "1");
  }

  std::filesystem::path base() const { return m_base; }
  std::filesystem::path program() const { return m_base / "V200"; }
  ProgramFolders folders() const { return ProgramFolders::OfProgramFolder(program()); }
  std::filesystem::path setupFile() const { return m_base / "language" / "mysetup.ini"; }
  std::filesystem::path portsFile() const { return m_base / "ports.ini"; }
  std::filesystem::path file(const std::string& name) const { return m_base / name; }

  void writeSetup(const std::string& isFirstRun, const std::string& comPort,
                  const std::string& language) {
    std::ofstream(setupFile(), std::ios::trunc)
        << "[language]\r\nIsFirstRun=" << isFirstRun << "\r\ncomPort=" << comPort
        << "\r\nCurrentLanguage=" << language << "\r\n";
  }
  std::string setupValue(const std::string& key) const {
    return ReadProfileString(setupFile(), "language", key, "");
  }
  // Enters a device (a pseudo-terminal of the virtual radio) as port COMn.
  void enterPort(int number, const std::string& device) {
    WriteProfileString(portsFile(), "SERIALCOMM", "COM" + std::to_string(number), device);
  }

 private:
  QTemporaryDir m_dir;
  std::filesystem::path m_base;
};

}  // namespace cps::gui::test
