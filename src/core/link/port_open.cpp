#include "core/link/port_open.hpp"

namespace cps {

PortOpenProblem ClassifyPortOpenFailure(const PortOpenFacts& facts) {
  if (facts.heldByAnotherProgram) return PortOpenProblem::Busy;
  if (!facts.refusedForPermission || !facts.deviceExists) return PortOpenProblem::Other;
  return facts.userMayReadWrite ? PortOpenProblem::Busy : PortOpenProblem::PermissionDenied;
}

Message PortOpenMessage(const PortOpenFacts& facts) {
  switch (ClassifyPortOpenFailure(facts)) {
    case PortOpenProblem::PermissionDenied: {
      auto message = TextMessage(text::kPortPermissionDenied, Buttons::Ok, Icon::Critical);
      message.arguments = {facts.device, facts.group.empty() ? kUsualSerialGroup : facts.group};
      return message;
    }
    case PortOpenProblem::Busy: {
      auto message = TextMessage(text::kPortBusy, Buttons::Ok, Icon::Critical);
      message.arguments = {facts.device};
      return message;
    }
    case PortOpenProblem::Other:
      break;
  }
  return TextMessage(text::kCannotOpenPort, Buttons::Ok, Icon::Critical);
}

std::optional<Message> PortOpenDeviceMessage(const PortOpenFacts& facts) {
  if (facts.device.empty() || ClassifyPortOpenFailure(facts) != PortOpenProblem::Other) {
    return std::nullopt;
  }
  if (!facts.deviceExists) {
    auto message = TextMessage(text::kNoSuchSerialDevice, Buttons::Ok, Icon::Critical);
    message.arguments = {facts.device};
    return message;
  }
  if (facts.systemReason.empty()) return std::nullopt;
  auto message = TextMessage(text::kSerialDeviceNotOpened, Buttons::Ok, Icon::Critical);
  message.arguments = {facts.device, facts.systemReason};
  return message;
}

}  // namespace cps
