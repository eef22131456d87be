// The serial ports the two port windows offer: the port map of the base folder,
// with every device the system reports given a number, less the ports whose
// device is gone (as the system's own list of serial devices holds only those
// plugged in).
#pragma once

#include <filesystem>

#include "core/app/port_map.hpp"

namespace cps::gui {

class AppContext;

std::filesystem::path PortsFile(const AppContext& context);
PortMap PresentPorts(const AppContext& context);

}  // namespace cps::gui
