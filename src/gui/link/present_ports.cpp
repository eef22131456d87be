#include "gui/link/present_ports.hpp"

#include "gui/app/app_context.hpp"
#include "platform/ports.hpp"

namespace cps::gui {

std::filesystem::path PortsFile(const AppContext& context) { return context.folders.portMap(); }

PortMap PresentPorts(const AppContext& context) {
  const PortMap known = CurrentPortMap(PortsFile(context));
  PortMap present;
  for (const auto& [number, device] : known) {
    if (IsPortPresent(number, known)) present.emplace(number, device);
  }
  return present;
}

}  // namespace cps::gui
