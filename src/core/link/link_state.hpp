// What the radio link keeps for the run: the memory image of the last transfer
// and the link settings that outlive one transfer.
#pragma once

#include <string>

#include "core/link/radio_image.hpp"

namespace cps {

struct LinkState {
  RadioImage image{};
  RadioInfoArea infoArea{};
  // The cable returns every byte it sends before the radio's reply. Learnt from
  // the first byte back after a handshake (or flipped by handshake time-outs)
  // and kept, so the next transfer starts with what worked.
  bool echoExpected = true;
  // The programming password the user entered last; offered again for the run.
  std::string enteredPassword;
  int passwordReadRetries = 0;
  CapabilityFlags currentCapabilities;
};

}  // namespace cps
