// What the radio link keeps for the run: the memory image of the last transfer
// and the link settings that outlive one transfer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/document/codec.hpp"
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
  // Every write is followed by a read of the radio, compared with what was
  // written; a difference fails the write. Kept in mysetup.ini.
  bool verifyAfterWrite = false;
};

// The radio keeps four password characters.
inline constexpr std::size_t kPasswordLength = 4;

// The password as the password dialog takes what is typed: the first four
// characters (a UTF-8 character is never cut in half), trailing blanks removed.
inline std::string PasswordOfEntry(std::string_view typed) {
  std::size_t end = 0;
  for (std::size_t characters = 0; end < typed.size() && characters < kPasswordLength;
       ++characters) {
    ++end;
    while (end < typed.size() && (static_cast<unsigned char>(typed[end]) & 0xC0u) == 0x80u) ++end;
  }
  return TrimFixed(typed.substr(0, end));
}

}  // namespace cps
