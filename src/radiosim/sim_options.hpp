// The command line of cps530-radiosim and the memory the radio starts with.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "radiosim/radio_memory.hpp"
#include "radiosim/radio_protocol.hpp"

namespace cps::radiosim {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // a file refused, no pseudo-terminal
inline constexpr int kExitUsage = 2;

struct SimOptions {
  std::filesystem::path imagePath;  // --image
  std::filesystem::path datPath;    // --dat
  std::filesystem::path savePath;   // --save
  std::filesystem::path linkPath;   // --link
  bool once = false;
  RadioIdentity identity;
  std::optional<std::string> password;  // none: the memory's own bytes stay
  bool echo = false;
  unsigned paceBaud = 0;
  FaultPlan faults;
  bool verbose = false;
};

struct CommandLine {
  std::optional<SimOptions> options;  // none: end with exitCode (help shown, or a usage error)
  int exitCode = kExitOk;
};

// Help goes to out, usage errors to err.
CommandLine ParseCommandLine(int argc, const char* const* argv, std::ostream& out,
                             std::ostream& err);

// The memory the radio starts with: erased, or the --image file, or the --dat
// file packed; then the identification block from the identity options (the
// radio's identity is its own, whatever memory it was given) and, when one was
// given, the password.
MemoryResult StartingMemory(const SimOptions& options);

}  // namespace cps::radiosim
