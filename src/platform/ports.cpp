#include "platform/ports.hpp"

#include <QProcess>
#include <QSerialPortInfo>
#include <vector>

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

bool StartProgram(const std::filesystem::path& program) {
  return QProcess::startDetached(QString::fromStdString(program.string()), {});
}

}  // namespace cps
