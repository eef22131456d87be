#include "radiosim/radio_memory.hpp"

#include <algorithm>

#include "core/document/codec.hpp"
#include "core/document/data_file.hpp"
#include "core/document/file_io.hpp"
#include "core/document/instances.hpp"
#include "core/document/prompter.hpp"
#include "core/run_state.hpp"

namespace cps::radiosim {

namespace {

// Printable ASCII only: 0x00 and 0xFF end a text in the radio's memory, and the
// host reads single-byte characters.
bool isPlainText(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

void putText(RadioMemory& memory, std::size_t address, std::string_view text, std::size_t width,
             std::uint8_t fill) {
  for (std::size_t i = 0; i < width; ++i) {
    memory[address + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : fill;
  }
}

// Packing may warn (a frequency outside the band, a stored number that is not
// one); nobody is there to answer, so the warnings are kept for the log.
class NotePrompter final : public Prompter {
 public:
  explicit NotePrompter(std::vector<std::string>& notes) : m_notes(notes) {}
  Answer ask(const Message& message) override {
    std::string note = message.fixedText;
    if (message.textId != 0) {
      if (!note.empty()) note += ' ';
      note += "message " + std::to_string(message.textId);
    }
    m_notes.push_back(note);
    switch (message.buttons) {
      case Buttons::YesNo:
      case Buttons::YesNoCancel:
        return Answer::Yes;
      case Buttons::RetryCancel:
        return Answer::Cancel;
      default:
        return Answer::Ok;
    }
  }
  std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }

 private:
  std::vector<std::string>& m_notes;
};

}  // namespace

std::string CheckIdentity(const RadioIdentity& identity) {
  if (identity.model.empty() || identity.model.size() > kModelNameLength ||
      !isPlainText(identity.model)) {
    return "the model name must be 1 to 7 printable ASCII characters";
  }
  if (identity.version.empty() || identity.version.size() > kVersionLength ||
      !isPlainText(identity.version)) {
    return "the firmware version must be 1 to 4 printable ASCII characters";
  }
  return {};
}

std::string CheckPassword(std::string_view password) {
  if (password.size() > kPasswordLength || !isPlainText(password)) {
    return "the password must be at most 4 printable ASCII characters";
  }
  return {};
}

RadioMemory ErasedMemory() {
  RadioMemory memory;
  memory.fill(0xFF);
  return memory;
}

void WriteIdentification(RadioMemory& memory, const RadioIdentity& identity) {
  putText(memory, kIdentBlockAddress, identity.model, kModelNameLength, 0x00);
  memory[kIdentBlockAddress + 7] = identity.bandCode;
  putText(memory, kIdentBlockAddress + 8, identity.version, kVersionLength, 0x00);
  memory[kIdentBlockAddress + 12] = identity.capabilities;
}

void WritePassword(RadioMemory& memory, std::string_view password) {
  putText(memory, kPasswordAddress, password, kPasswordLength, 0xFF);
}

MemoryResult LoadMemoryImage(const std::filesystem::path& path) {
  const auto file = ReadWholeFile(path, kMemorySize);
  if (!file.ok()) return {std::nullopt, path.string() + " " + file.error, {}};
  if (file.bytes.size() != kMemorySize) {
    const std::string size = file.bytes.size() > kMemorySize
                                 ? "more than " + std::to_string(kMemorySize)
                                 : std::to_string(file.bytes.size());
    return {std::nullopt,
            path.string() + " holds " + size + " bytes; a radio memory image is exactly " +
                std::to_string(kMemorySize) + " bytes (addresses 0x000 to 0xCFF)",
            {}};
  }
  RadioMemory memory;
  std::copy(file.bytes.begin(), file.bytes.end(), memory.begin());
  return {memory, {}, {}};
}

MemoryResult PackDataFile(const std::filesystem::path& path) {
  auto loaded = ReadDataFile(path.string());
  if (!loaded.file) {
    std::string why = loaded.failure.detail.empty() ? "is not a data file" : loaded.failure.detail;
    if (loaded.failure.textId == text::kWrongFileSize) why = "is not a data file of 8595 bytes";
    return {std::nullopt, path.string() + ": " + why, {}};
  }
  MemoryResult result;
  // As after opening the file in the program: the document and its model and
  // band become the run's, and a write packs them.
  RunState state;
  state.savedImage = loaded.file->document;
  state.savedSide = loaded.file->side;
  CopyImageToWorking(state);
  NotePrompter prompter(result.notes);
  ClearImage(state.link.image);
  PackDocumentToImage(state, state.link.image, CodecContext{state.model.limits, prompter});

  RadioMemory memory = ErasedMemory();
  std::copy(state.link.image.begin(), state.link.image.end(), memory.begin());
  result.memory = memory;
  return result;
}

std::string SaveMemory(const std::filesystem::path& path, const RadioMemory& memory) {
  return WriteFileAtomically(path, memory);
}

}  // namespace cps::radiosim
