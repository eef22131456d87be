// The host's copy of the radio's memory and its translation to and from the
// document: packed before a write, unpacked after a read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace cps {

struct RunState;
struct RadioInfoRecord;
struct CodecContext;

inline constexpr std::size_t kRadioImageSize = 2832;  // addresses 0x000 to 0xB0F
inline constexpr std::size_t kRadioInfoSize = 496;    // addresses 0xB10 to 0xCFF
inline constexpr std::uint16_t kInfoAreaAddress = 0xB10;
inline constexpr std::uint16_t kIdentBlockAddress = 0xB00;

using RadioImage = std::array<std::uint8_t, kRadioImageSize>;
using RadioInfoArea = std::array<std::uint8_t, kRadioInfoSize>;

// What the capability byte of the identification block says about the radio.
// Bits 3 and 2 forbid writing to it.
struct CapabilityFlags {
  std::array<bool, 4> bits{};  // bits[i] is bit i of the byte
  bool operator==(const CapabilityFlags&) const = default;
};

void ClearImage(RadioImage& image);

// One field of the radio's memory as the program packs it: `size` whole bytes
// from `address`, or, in a byte that holds several fields, the bits of `mask`.
struct ImageField {
  std::size_t address = 0;
  std::size_t size = 1;
  std::uint8_t mask = 0xFF;
  std::string name;  // "channel 12 receive frequency", "scan settings: revert channel"
};

// Every field of the image, in address order. What no field holds the radio does not use; the bits
// a radio does not keep (the high half of the DTMF group code) belong to no field.
const std::vector<ImageField>& RadioImageFields();

// What the radio keeps at an address of the image, in the user's words: the
// names of the fields there, or "not used".
std::string DescribeRadioAddress(std::size_t address);

// The working document into the image (which ClearImage has filled with 0xFF).
// The document's model info takes the current model and band; nothing else of
// it changes.
void PackDocumentToImage(RunState& state, RadioImage& image, const CodecContext& codec);

// The image into the working document: channels in channel-number order, the
// radio's model and band become the current ones, the alarm mode goes to the
// working side record, and the capability flags are derived.
void UnpackRadioImage(const RadioImage& image, RunState& state, const CodecContext& codec);

// The information area into the radio information record; its band code is kept.
void UnpackInfoArea(const RadioInfoArea& area, RadioInfoRecord& info);

// The flags of the capability byte at 0xB0C; they become the connected radio's
// current flags, and each known flag that is still 0 takes its bit.
CapabilityFlags DeriveCapabilityFlags(std::uint8_t capabilityByte, RunState& state);

}  // namespace cps
