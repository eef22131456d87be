// The verbs of cps530-cli that talk to a radio, and the image verbs.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "cli/commands.hpp"

namespace cps {
class StopSignals;
}

namespace cps::cli {

struct RadioOptions {
  std::string port;  // a device path, or COMn through the port map
  std::optional<std::string> password;
  bool yes = false;  // OK to the band question (9014)
  int retries = 0;   // automatic OKs to "the transfer failed, try again?" (9008)
  // The cable does not return what the host sends. Every run otherwise starts
  // by expecting the echo; either way the first byte back after the handshake
  // tells the engine which cable it is.
  bool noEcho = false;
  // write: read the radio back afterwards and compare; a difference fails the write.
  bool verify = false;
};

// Each needs a running Qt core application (for the serial port and timers).
// A stop signal ends the transfer as the user's stop does (the radio hears
// END); the run then ends with the signal's status, 128 + its number.
int RunRead(const RadioOptions& options, const std::string& output, bool force,
            const Environment& env, StopSignals& stop);
int RunWrite(const std::string& file, const RadioOptions& options, const Environment& env,
             StopSignals& stop);
int RunInfo(const RadioOptions& options, bool json, const Environment& env, StopSignals& stop);

// The terminal's progress line of a whole-radio transfer: a bar of the
// percentage, the blocks moved of all, and the time taken so far.
std::string ProgressLineText(int percent, int blocksDone, std::chrono::milliseconds elapsed);

int RunPack(const std::string& file, const std::string& output, bool force, const Environment& env);
int RunUnpack(const std::string& image, const std::string& output, bool force,
              const Environment& env);

}  // namespace cps::cli
