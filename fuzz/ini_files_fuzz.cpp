// Any text read as each of the program's initialisation files: a language
// file, mysetup.ini, Version.ini and ports.ini. Reading never fails whatever
// the text; a file read and written unchanged keeps every byte; writing a key
// changes that key alone and reads back as written; and the values the
// settings take from a file stay within what the program can use.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "core/app/ini_file.hpp"
#include "core/app/port_map.hpp"
#include "core/app/settings_files.hpp"
#include "core/app/text_table.hpp"
#include "core/app/version_table.hpp"
#include "fuzz_support.hpp"

namespace {

using cps::IniText;

void check(bool holds, const char* what) {
  if (!holds) cps::fuzz::Fail("ini files", what);
}

std::string lower(std::string_view text) {
  std::string out;
  for (char c : text) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// A name as the program writes names: letters, digits and a few signs, never
// one that reads as a section header, a comment or a key's end.
std::string nameFrom(FuzzedDataProvider& input) {
  static constexpr std::string_view kChars =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_.- ";
  std::string name;
  const auto length = input.ConsumeIntegralInRange(1, 12);
  for (int i = 0; i < length; ++i) {
    name += kChars[input.ConsumeIntegralInRange<std::size_t>(0, kChars.size() - 1)];
  }
  // Leading and trailing blanks are not part of a name.
  while (!name.empty() && name.back() == ' ') name.pop_back();
  while (!name.empty() && name.front() == ' ') name.erase(0, 1);
  return name.empty() ? "k" : name;
}

// A value as the program writes values: one line, no blanks or quotes around it.
std::string valueFrom(FuzzedDataProvider& input) {
  std::string value = input.ConsumeRandomLengthString(40);
  value.erase(std::remove_if(value.begin(), value.end(),
                             [](char c) { return c == '\n' || c == '\r' || c == '\0'; }),
              value.end());
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.erase(0, 1);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value.pop_back();
  }
  return value;
}

bool validUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t length = c < 0x80         ? 1
                               : (c >> 5) == 6  ? 2
                               : (c >> 4) == 14 ? 3
                               : (c >> 3) == 30 ? 4
                                                : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

void checkReadAndWrite(const std::string& content, FuzzedDataProvider& input) {
  IniText ini(content);
  check(ini.content() == content, "a file read and written unchanged lost bytes");

  // Keys that were there before, to see that writing another leaves them be.
  std::vector<std::pair<std::string, std::string>> probes;
  for (int i = 0; i < 3; ++i) probes.emplace_back(nameFrom(input), nameFrom(input));
  std::vector<std::optional<std::string>> before;
  for (const auto& [section, key] : probes) before.push_back(ini.value(section, key));

  const std::string section = nameFrom(input);
  const std::string key = nameFrom(input);
  const std::string value = valueFrom(input);
  ini.set(section, key, value);
  check(ini.value(section, key) == value, "a key written does not read back as written");
  for (std::size_t i = 0; i < probes.size(); ++i) {
    const auto& [s, k] = probes[i];
    if (lower(s) == lower(section) && lower(k) == lower(key)) continue;
    check(ini.value(s, k) == before[i], "writing one key changed another");
  }
  const std::string written = ini.content();
  check(IniText(written).content() == written, "a written file does not read back whole");
  check(IniText(written).value(section, key) == value, "a written key is lost on reading");
}

void checkLanguageFile(const IniText& ini, FuzzedDataProvider& input) {
  for (int i = 0; i < 4; ++i) {
    const int id = input.ConsumeIntegralInRange(0, 40000);
    const auto raw = ini.value(cps::SectionOfTextId(id), std::to_string(id));
    const std::string text = cps::FitProfileValue(raw.value_or(""), cps::kTextBuffer);
    check(text.size() < cps::kTextBuffer, "a text longer than its buffer");
    if (raw && validUtf8(*raw)) check(validUtf8(text), "a text was cut inside a character");
  }
}

void checkVersionTable(const IniText& ini) {
  const auto table = cps::VersionTableOf(ini, "Version.ini");
  check(table.softVersions.size() <= 1000, "a version table longer than any file holds");
  for (const auto& pair : table.pairs) {
    check(pair.program.size() == 4 && pair.other.size() == 4, "a version pair of other lengths");
    (void)cps::LaunchPathFor(table, pair.other, "/base", "cps530");
  }
  (void)cps::IsVersionCompatible(table, cps::kProgramVersion, "V200");
}

void checkLanguageSetup(const std::string& content, FuzzedDataProvider& input) {
  const auto setup = cps::LanguageSetupOf(IniText(content));
  check(setup.comPort >= 1 && setup.comPort <= 255, "a port number the program cannot use");

  const auto file = cps::fuzz::ScratchFolder() / "mysetup.ini";
  cps::fuzz::WriteBytes(
      file, std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
  const int port = input.ConsumeIntegralInRange(1, 255);
  const int language = input.ConsumeIntegralInRange(1, 2);
  const bool verify = input.ConsumeBool();
  check(cps::WritePortAndLanguage(file, port, language).empty(), "mysetup.ini was not written");
  check(cps::WriteVerifyAfterWrite(file, verify).empty(), "mysetup.ini was not written");
  const auto after = cps::ReadLanguageSetup(file);
  check(after.comPort == port && after.currentLanguage == language,
        "the port and language written do not read back");
  check(after.verifyAfterWrite == verify, "the check after a write does not read back");
  check(after.isFirstRun == setup.isFirstRun, "writing the port changed the first-run flag");
}

void checkPortMap(const std::string& content, FuzzedDataProvider& input) {
  auto map = cps::PortMapOf(IniText(content));
  for (const auto& [number, device] : map) {
    check(number >= 1 && number <= cps::kMaxPortNumber && !device.empty(),
          "a port map entry the program cannot use");
  }
  const auto file = cps::fuzz::ScratchFolder() / "ports.ini";
  cps::fuzz::WriteBytes(
      file, std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
  std::vector<std::string> devices;
  for (int i = input.ConsumeIntegralInRange(0, 3); i > 0; --i) {
    devices.push_back("/dev/" + nameFrom(input));
  }
  const auto before = map;
  const auto given = cps::AssignPortNumbers(file, map, devices);
  const std::set<int> distinct(given.begin(), given.end());
  check(distinct.size() == given.size(), "two devices were given one number");
  for (int number : given) {
    check(before.count(number) == 0, "a device was given a number already taken");
  }
  const auto reread = cps::ReadPortMap(file);
  for (const auto& [number, device] : map) {
    if (before.count(number) != 0) continue;
    const auto it = reread.find(number);
    check(it != reread.end() && it->second == device, "a number given was not kept");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string content = input.ConsumeRandomLengthString(size);
  const IniText ini(content);
  checkReadAndWrite(content, input);
  checkLanguageFile(ini, input);
  checkVersionTable(ini);
  checkLanguageSetup(content, input);
  checkPortMap(content, input);
  return 0;
}
