// Why a serial port could not be opened, told so that the user can act: a
// device he may not use says which group may and the command that joins it;
// a device another program holds says that. The front ends gather the facts
// from the system; the words are decided here.
#pragma once

#include <string>

#include "core/document/prompter.hpp"

namespace cps {

// What the system said and what is known of the device.
struct PortOpenFacts {
  std::string device;                 // "/dev/ttyUSB0"
  bool refusedForPermission = false;  // the open was refused as not permitted
  bool deviceExists = false;
  bool userMayReadWrite = false;  // the device's own permissions let this user read and write it
  std::string group;              // the group that owns the device; "" when unknown
};

enum class PortOpenProblem { Other, PermissionDenied, Busy };

// A refusal on a device the user may read and write can only be another
// program holding it (the system reports both the same way).
PortOpenProblem ClassifyPortOpenFailure(const PortOpenFacts& facts);

// The group most systems give serial devices, named when the owner is unknown.
inline constexpr const char* kUsualSerialGroup = "dialout";

// The message for a port that could not be opened: the device and group in
// their places for a permission or a busy port, text 9003 otherwise.
Message PortOpenMessage(const PortOpenFacts& facts);

}  // namespace cps
