// The two documents the save-loop helper writes in turn, so that a test can
// tell a whole old file and a whole new one from anything else on disk.
#pragma once

#include <string>

#include "core/document/defaults.hpp"
#include "core/run_state.hpp"

namespace cps::e2e {

// Document 0 or 1: the same defaults, but every channel, the message and the
// alarm mode of the side file differ, so that no byte range is shared by chance.
inline RunState SaveDocument(int which) {
  RunState state;
  state.model.select("TW530G", "400 - 480 MHz");
  ApplyDocumentDefaults(state, Today{"2026-12-10", 12});
  auto& doc = state.workingDocument;
  doc.channelCount = 128;
  for (int i = 0; i < 128; ++i) {
    auto& c = doc.channels[static_cast<std::size_t>(i)];
    c.number = static_cast<std::int16_t>(i + 1);
    c.rxFreq.assign(std::to_string(40000000 + (which * 128 + i) * 1250));
    c.power = static_cast<std::int16_t>((i + which) % 3);
  }
  doc.message.lines[0].assign(which == 0 ? "OLD FILE" : "NEW FILE");
  state.workingSide.alarmMode = static_cast<std::uint8_t>(which);
  return state;
}

}  // namespace cps::e2e
