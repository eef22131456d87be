// Why a serial port could not be opened, told so that the user can act: a
// device he may not use says which group may and the command that joins it;
// a device another program holds says that. The front ends gather the facts
// from the system; the words are decided here.
#pragma once

#include <optional>
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
  std::string systemReason;       // the system's own words for the failure
  // The device opened, but another program holds its lock (it may have opened
  // it under another name, such as a link in /dev/serial/by-id).
  bool heldByAnotherProgram = false;
};

enum class PortOpenProblem { Other, PermissionDenied, Busy };

// A refusal on a device the user may read and write can only be another
// program holding it (the system reports both the same way); so is a lock
// another program holds.
PortOpenProblem ClassifyPortOpenFailure(const PortOpenFacts& facts);

// The group most systems give serial devices, named when the owner is unknown.
inline constexpr const char* kUsualSerialGroup = "dialout";

// The message for a port that could not be opened: the device and group in
// their places for a permission or a busy port, text 9003 otherwise.
Message PortOpenMessage(const PortOpenFacts& facts);

// For a front end that names the device after text 9003: the device is not
// there, or it could not be opened and the system says why. Nothing where the
// message of PortOpenMessage names the device already, or nothing is known.
std::optional<Message> PortOpenDeviceMessage(const PortOpenFacts& facts);

}  // namespace cps
