#include "core/app/port_map.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "core/app/ini_file.hpp"

namespace cps {

namespace {

constexpr std::string_view kSection = "SERIALCOMM";

std::string keyOf(int number) { return "COM" + std::to_string(number); }

}  // namespace

std::optional<int> PortNumberOfName(std::string_view name) {
  if (name.size() < 4) return std::nullopt;
  const auto prefix = name.substr(0, 3);
  if (!std::equal(prefix.begin(), prefix.end(), "COM", [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == b;
      })) {
    return std::nullopt;
  }
  int number = 0;
  const auto digits = name.substr(3);
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (ec != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  if (number < 1 || number > kMaxPortNumber) return std::nullopt;
  return number;
}

PortMap ReadPortMap(const std::filesystem::path& portsIni) {
  return PortMapOf(LoadIniFile(portsIni).text.value_or(IniText{}));
}

PortMap PortMapOf(const IniText& portsIni) {
  PortMap map;
  for (int n = 1; n <= kMaxPortNumber; ++n) {
    auto path = ProfileString(portsIni, kSection, keyOf(n), "");
    if (!path.empty()) map.emplace(n, std::move(path));
  }
  return map;
}

std::vector<int> AssignPortNumbers(const std::filesystem::path& portsIni, PortMap& map,
                                   const std::vector<std::string>& devices) {
  std::vector<int> given;
  for (const auto& device : devices) {
    const bool known = std::any_of(map.begin(), map.end(),
                                   [&](const auto& entry) { return entry.second == device; });
    if (known) continue;
    int number = 1;
    while (number <= kMaxPortNumber && map.count(number) != 0) ++number;
    if (number > kMaxPortNumber) break;
    map.emplace(number, device);
    WriteProfileString(portsIni, kSection, keyOf(number), device);
    given.push_back(number);
  }
  return given;
}

std::string DeviceOfPortArgument(std::string_view argument, const PortMap& map,
                                 bool systemHasComNames) {
  if (const auto number = PortNumberOfName(argument)) {
    if (systemHasComNames) return keyOf(*number);
    if (const auto it = map.find(*number); it != map.end()) return it->second;
    return {};
  }
  return std::string(argument);
}

}  // namespace cps
