// One document to many radios from the command line: several ports written at
// the same time, or one cable and one radio after another.
#pragma once

#include <string>
#include <vector>

#include "cli/commands.hpp"
#include "cli/radio_commands.hpp"

namespace cps::cli {

// Every port in a session of its own, all at once; a radio that fails fails
// alone. 0 only when every radio was written (and checked, with --verify).
int RunFleetWrite(const std::string& file, const RadioOptions& options,
                  const std::vector<std::string>& ports, const Environment& env, StopSignals& stop);

// One radio after another on options.port, until the user ends the series
// (q or the end of input). `autoNext`: a radio that answers the handshake,
// after the last one was taken off, is written without waiting for Enter, and
// the series does without input: only q or a signal ends it.
// 0 only when at least one radio was written and none failed.
// A stop signal stops every radio being written (each hears END), the summary
// is printed, and the run ends with the signal's status, 128 + its number.
int RunSeriesWrite(const std::string& file, const RadioOptions& options, bool autoNext,
                   const Environment& env, StopSignals& stop);

}  // namespace cps::cli
