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
                  const std::vector<std::string>& ports, const Environment& env);

// One radio after another on options.port, until the user ends the series
// (q or the end of input). `autoNext`: a radio that answers the handshake,
// after the last one was taken off, is written without waiting for Enter.
// 0 only when at least one radio was written and none failed.
int RunSeriesWrite(const std::string& file, const RadioOptions& options, bool autoNext,
                   const Environment& env);

}  // namespace cps::cli
