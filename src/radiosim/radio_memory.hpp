// The virtual radio's memory: the 3328 bytes it serves (addresses 0x000 to
// 0xCFF), where they start from (erased, an image file or a packed data file),
// and the identity and password the radio carries.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/document/records.hpp"
#include "core/link/radio_image.hpp"

namespace cps::radiosim {

inline constexpr std::size_t kMemorySize = kRadioImageSize + kRadioInfoSize;  // 0x000 to 0xCFF
inline constexpr std::uint16_t kPasswordAddress = 0xB3C;
inline constexpr std::size_t kPasswordLength = 4;
inline constexpr std::size_t kModelNameLength = 7;
inline constexpr std::size_t kVersionLength = 4;

using RadioMemory = std::array<std::uint8_t, kMemorySize>;

// What the radio says about itself when asked to identify.
struct RadioIdentity {
  std::string model = "TW530G";
  std::uint8_t bandCode = 0;
  std::string version{kProgramVersion};
  std::uint8_t capabilities = 0;
};

// An empty text when the identity fits the identification frame, else why not.
std::string CheckIdentity(const RadioIdentity& identity);
// An empty text when the password can be stored, else why not.
std::string CheckPassword(std::string_view password);

// A radio never programmed: every byte 0xFF.
RadioMemory ErasedMemory();

// The model name (0-padded to seven bytes), band code, version (0-padded to four
// bytes) and capability byte at 0xB00 to 0xB0C; 0xB0D to 0xB0F are left alone.
void WriteIdentification(RadioMemory& memory, const RadioIdentity& identity);
// Up to four characters at 0xB3C, the rest 0xFF: an empty password is no password.
void WritePassword(RadioMemory& memory, std::string_view password);

struct MemoryResult {
  std::optional<RadioMemory> memory;
  std::string error;               // why the file was refused
  std::vector<std::string> notes;  // what packing a data file had to say
};

// A memory image file: exactly 3328 bytes, address order.
MemoryResult LoadMemoryImage(const std::filesystem::path& path);
// A data file packed as a write to a radio would pack it: addresses 0x000 to
// 0xB0F from the document, the information area erased.
MemoryResult PackDataFile(const std::filesystem::path& path);

// Replaces the file atomically; an error text, empty on success.
std::string SaveMemory(const std::filesystem::path& path, const RadioMemory& memory);

}  // namespace cps::radiosim
