#include "platform/ports.hpp"

#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <vector>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace cps {

bool SystemHasComNames() {
#ifdef Q_OS_WIN
  return true;
#else
  return false;
#endif
}

PortMap CurrentPortMap(const std::filesystem::path& portsIni) {
  PortMap map = ReadPortMap(portsIni);
  if (SystemHasComNames()) {
    for (const auto& info : QSerialPortInfo::availablePorts()) {
      if (const auto n = PortNumberOfName(info.portName().toStdString())) {
        map[*n] = info.portName().toStdString();
      }
    }
    return map;
  }
  std::vector<std::string> devices;
  for (const auto& info : QSerialPortInfo::availablePorts()) {
    devices.push_back(info.systemLocation().toStdString());
  }
  AssignPortNumbers(portsIni, map, devices);
  return map;
}

bool IsPortPresent(int number, const PortMap& map) {
  const auto it = map.find(number);
  if (it == map.end()) return false;
  if (SystemHasComNames()) return true;
  std::error_code ec;
  return std::filesystem::exists(it->second, ec);
}

QString DeviceForPort(std::string_view argument, const std::filesystem::path& portsIni) {
  const PortMap map = PortNumberOfName(argument) ? CurrentPortMap(portsIni) : PortMap{};
  return QString::fromStdString(DeviceOfPortArgument(argument, map, SystemHasComNames()));
}

PortOpenFacts PortOpenFactsOf(const QSerialPort& port, const QString& device) {
  PortOpenFacts facts;
  facts.device = device.toStdString();
  facts.refusedForPermission = port.error() == QSerialPort::PermissionError;
  facts.systemReason = port.errorString().toStdString();
#ifdef Q_OS_UNIX
  struct stat status {};
  facts.deviceExists = !device.isEmpty() && ::stat(facts.device.c_str(), &status) == 0;
  if (facts.deviceExists) {
    facts.userMayReadWrite = ::access(facts.device.c_str(), R_OK | W_OK) == 0;
    std::vector<char> buffer(16 * 1024);
    struct group entry {};
    struct group* found = nullptr;
    if (::getgrgid_r(status.st_gid, &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->gr_name != nullptr) {
      facts.group = found->gr_name;
    }
  }
#else
  facts.deviceExists = !device.isEmpty() && QFileInfo::exists(device);
  facts.userMayReadWrite = true;
#endif
  return facts;
}

QString RealDevice(const QString& device) {
  if (SystemHasComNames() || device.isEmpty()) return device;
  const QString real = QFileInfo(device).canonicalFilePath();
  return real.isEmpty() ? device : real;
}

std::optional<PortOpenFacts> OpenRadioLine(QSerialPort& port, const QString& device) {
  const QString real = RealDevice(device);
  port.setPortName(real);
  const bool opened =
      port.open(QIODevice::ReadWrite) && port.setBaudRate(QSerialPort::Baud9600) &&
      port.setDataBits(QSerialPort::Data8) && port.setParity(QSerialPort::NoParity) &&
      port.setStopBits(QSerialPort::OneStop) && port.setFlowControl(QSerialPort::NoFlowControl);
  if (!opened) {
    auto facts = PortOpenFactsOf(port, real);
    port.close();
    return facts;
  }
#ifdef Q_OS_UNIX
  // QSerialPort's own lock file is named after the path it is given, so a
  // program that opened the device under another name does not see it. A lock
  // on the open device itself holds whatever name the device was opened by.
  if (::flock(static_cast<int>(port.handle()), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    PortOpenFacts facts;
    facts.device = real.toStdString();
    facts.deviceExists = true;
    facts.userMayReadWrite = true;
    facts.heldByAnotherProgram = true;
    facts.systemReason = std::strerror(EWOULDBLOCK);
    port.close();
    return facts;
  }
  // Any other failure of the lock (a system without it) leaves the line usable.
#endif
  return std::nullopt;
}

AdapterDescriptions CurrentAdapterDescriptions() {
  AdapterDescriptions adapters;
  for (const auto& info : QSerialPortInfo::availablePorts()) {
    QStringList parts;
    if (!info.description().isEmpty()) parts << info.description();
    if (!info.manufacturer().isEmpty() && !info.description().contains(info.manufacturer())) {
      parts << info.manufacturer();
    }
    if (!info.serialNumber().isEmpty()) {
      parts << QStringLiteral("serial %1").arg(info.serialNumber());
    }
    if (!parts.isEmpty()) {
      adapters[info.systemLocation().toStdString()] = parts.join(QStringLiteral(", "));
    }
  }
  return adapters;
}

QString DeviceWithAdapter(const std::string& device, const AdapterDescriptions& adapters) {
  const QString path = QString::fromStdString(device);
  auto it = adapters.find(device);
  if (it == adapters.end()) {
    // A port map entry may name a stable link (/dev/serial/by-id/...) to the device.
    it = adapters.find(QFileInfo(path).canonicalFilePath().toStdString());
  }
  return it == adapters.end() ? path : QStringLiteral("%1  (%2)").arg(path, it->second);
}

bool StartProgram(const std::filesystem::path& program) {
  return QProcess::startDetached(QString::fromStdString(program.string()), {});
}

}  // namespace cps
