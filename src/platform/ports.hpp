// The serial ports of this computer by number, and the start of another
// installed program version.
#pragma once

#include <QString>
#include <filesystem>

#include "core/app/port_map.hpp"

namespace cps {

// Windows numbers its serial ports itself (COMn); elsewhere ports.ini does.
bool SystemHasComNames();

// The port map with every serial device the system reports given a number.
PortMap CurrentPortMap(const std::filesystem::path& portsIni);

// A port that exists now: on Windows one the system lists, elsewhere one whose
// device path exists (a pseudo-terminal of the virtual radio counts).
bool IsPortPresent(int number, const PortMap& map);

// The device for a port argument: "COMn" or a device path.
QString DeviceForPort(std::string_view argument, const std::filesystem::path& portsIni);

// Starts a program without waiting for it; false when it cannot be started.
bool StartProgram(const std::filesystem::path& program);

}  // namespace cps
