// The check after a write: the radio is read back in a session of its own and
// what it holds is compared, field by field, with what was written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/compare/compare.hpp"
#include "core/document/prompter.hpp"
#include "core/link/radio_image.hpp"

namespace cps {

// A field the radio does not hold as it was written.
struct ImageDifference {
  std::size_t address = 0;
  std::size_t size = 1;
  std::string meaning;  // "channel 12 receive frequency"
  // The field's bytes; for a field of a few bits in a byte, its value alone.
  bool bits = false;
  std::vector<std::uint8_t> written;
  std::vector<std::uint8_t> held;
};

// Bytes as two hexadecimal digits each, separated by blanks ("1F 00").
std::string HexBytesText(const std::vector<std::uint8_t>& bytes);

// Every field of the image whose bits differ, in address order. Bytes the
// radio does not use are not compared.
std::vector<ImageDifference> CompareWrittenImage(const RadioImage& written, const RadioImage& held);

// "0x0B0-0x0B3 channel 12 receive frequency: written 02 97 F2 B4, the radio holds 02 97 F2 B5";
// a field of a few bits gives its values: "0x801 channel 12 present: written 0, the radio holds 1"
std::string DifferenceText(const ImageDifference& difference);

// The differences one to a line, at most `limit` of them, then how many more.
std::string DifferencesReport(const std::vector<ImageDifference>& differences,
                              std::size_t limit = 20);

// What the read-back shows against what was written. The image's fields are
// what decides: they hold everything the radio keeps, also what no document
// carries (the further test frequency pairs, the identification). The same
// two images unpacked into documents say where they differ in the words of
// the windows, which is what a user can act on.
struct WriteCheck {
  std::vector<FieldDifference> document;
  std::vector<ImageDifference> image;
  bool passed() const { return image.empty(); }
};

// `state` gives the band the frequencies are read in; it is not changed.
WriteCheck CheckWrittenImage(const RadioImage& written, const RadioImage& held,
                             const RunState& state, const TextOf& textOf);

// The differences in the windows' words, one to a line ("channel.12.rx
// (RX (MHz)): 435.10000 -> 435.10010"), then the image's fields after the
// line "Radio memory:", each list at most `limit` long and then how many more.
std::string WriteCheckReport(const WriteCheck& check, std::size_t limit = 20);

// Passes every question and message on, except that while it holds them the
// notices that a read or a write is complete are kept back: a write that is
// to be checked is not complete until the check has passed, and the read of
// the check is no read of the user's.
class HoldCompletionNotices final : public Prompter {
 public:
  explicit HoldCompletionNotices(Prompter& inner) : m_inner(inner) {}

  void hold(bool holding) { m_holding = holding; }
  bool holding() const { return m_holding; }

  Answer ask(const Message& message) override;
  std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
    return m_inner.chooseFile(request);
  }
  std::optional<std::string> askPassword() override { return m_inner.askPassword(); }
  ConfirmAnswer confirmChannelCommand(ConfirmMode mode) override {
    return m_inner.confirmChannelCommand(mode);
  }
  Answer confirmWrite(bool& verify) override { return m_inner.confirmWrite(verify); }

 private:
  Prompter& m_inner;
  bool m_holding = false;
};

}  // namespace cps
