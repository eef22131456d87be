// The serial ports of this computer by number, and the start of another
// installed program version.
#pragma once

#include <QString>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "core/app/port_map.hpp"
#include "core/link/port_open.hpp"

class QSerialPort;

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

// What the system tells of a device a port failed to open: whether it refused
// for permission, and the device's own permissions and group for this user.
PortOpenFacts PortOpenFactsOf(const QSerialPort& port, const QString& device);

// The device a port's path stands for, links followed: /dev/serial/by-id/...
// and a link made to a pseudo-terminal name the same line as the device
// itself. A path that does not exist (and a COMn name) stays as it is.
QString RealDevice(const QString& device);

// Opens the line to a radio: the real device, at 9600 baud, 8 data bits, no
// parity, one stop bit and no flow control, locked for this program, so that
// a second program (under any name of the device) is told it is in use
// instead of both programs breaking each other's transfers. Nothing when it
// opened; otherwise what the system said of the device, for the message.
std::optional<PortOpenFacts> OpenRadioLine(QSerialPort& port, const QString& device);

// What the system knows of the USB adapters behind its serial devices, by
// device path: "FT232R USB UART, serial A12345". Devices it knows nothing of
// (a built-in or virtual port) are not listed.
using AdapterDescriptions = std::map<std::string, QString>;
AdapterDescriptions CurrentAdapterDescriptions();

// A device as the port lists show it: "/dev/ttyUSB0  (FT232R USB UART, serial
// A12345)", or the path alone. A device named by a link is found by its target.
QString DeviceWithAdapter(const std::string& device, const AdapterDescriptions& adapters);

// Starts a program without waiting for it; false when it cannot be started.
bool StartProgram(const std::filesystem::path& program);

}  // namespace cps
