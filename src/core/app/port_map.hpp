// Serial ports by number, as users and the settings speak of them. Where the
// system has no COM numbers, ports.ini in the base folder gives each serial
// device a lasting number: section SERIALCOMM, keys COM1, COM2, ... with paths.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cps {

inline constexpr int kMaxPortNumber = 255;

using PortMap = std::map<int, std::string>;  // port number -> device path

class IniText;

PortMap ReadPortMap(const std::filesystem::path& portsIni);
// The map of a ports.ini already read.
PortMap PortMapOf(const IniText& portsIni);
// Gives each device that has no number yet the lowest free one and writes the
// new entries. Returns the numbers given.
std::vector<int> AssignPortNumbers(const std::filesystem::path& portsIni, PortMap& map,
                                   const std::vector<std::string>& devices);

// "COM3" or "com3" -> 3; anything else -> empty.
std::optional<int> PortNumberOfName(std::string_view name);

// The device a port argument names: "COMn" through the map (or the name itself
// where the system has COM names), anything else taken as a device path.
std::string DeviceOfPortArgument(std::string_view argument, const PortMap& map,
                                 bool systemHasComNames);

}  // namespace cps
