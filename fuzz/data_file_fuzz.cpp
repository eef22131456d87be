// A data file and its side file of any content, opened as the desktop's Open
// (or the open that keeps the model) opens them, saved, opened and saved
// again. A file that opens must save as a whole data file that opens again to
// the same document and saves to the same bytes; and what was read must be
// what is written, apart from the version and the model, which a save always
// writes as this program's own.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/app/file_commands.hpp"
#include "core/app/version_table.hpp"
#include "core/document/file_io.hpp"
#include "core/document/prompter.hpp"
#include "core/document/records.hpp"
#include "core/run_state.hpp"
#include "fuzz_support.hpp"

namespace {

using cps::DocumentRecord;
using cps::FileOutcome;
using cps::SideFileRecord;

void check(bool holds, const char* what) {
  if (!holds) cps::fuzz::Fail("data file", what);
}

// Refuses every question: No to another version's program, Cancel to the rest.
class RefusingPrompter final : public cps::Prompter {
 public:
  cps::Answer ask(const cps::Message& message) override {
    switch (message.buttons) {
      case cps::Buttons::Ok:
        return cps::Answer::Ok;
      case cps::Buttons::YesNo:
        return cps::Answer::No;
      default:
        return cps::Answer::Cancel;
    }
  }
  std::optional<std::string> chooseFile(const cps::FileDialogRequest&) override {
    return std::nullopt;
  }
};

class Files {
 public:
  Files() { m_versions.pairs = {{"V200", "V200"}}; }

  cps::FileCommandResult open(cps::RunState& state, const std::string& path, bool keepModel) {
    auto ctx = context(state);
    return keepModel ? cps::SpecialOpenPath(ctx, path) : cps::OpenPath(ctx, path);
  }
  cps::FileCommandResult saveAs(cps::RunState& state, const std::string& path) {
    auto ctx = context(state);
    return cps::SaveAsPath(ctx, path);
  }

 private:
  cps::FileContext context(cps::RunState& state) {
    return {state,
            m_prompter,
            m_observer,
            m_versions,
            [](int id) { return std::to_string(id); },
            cps::fuzz::ScratchFolder() / "Init",
            {"2026-12-10", 12},
            cps::fuzz::ScratchFolder(),
            "cps530"};
  }

  RefusingPrompter m_prompter;
  cps::NullObserver m_observer;
  cps::VersionTable m_versions;
};

// The bytes a save may change: the version, always this program's, and the
// model record, which takes the model and band the program adopted.
bool sameApartFromVersionAndModel(std::span<const std::uint8_t> a,
                                  std::span<const std::uint8_t> b) {
  if (a.size() != b.size() || a.size() != DocumentRecord::kSize) return false;
  const auto model = cps::offsets::kModelInfo;
  const auto afterModel = model + cps::ModelInfoRecord::kSize;
  return std::equal(a.begin() + 4, a.begin() + model, b.begin() + 4) &&
         std::equal(a.begin() + afterModel, a.end(), b.begin() + afterModel);
}

}  // namespace

// The input: one byte of choices, then the data file; when the file is taken
// at its right size, whatever follows its 8595 bytes is the side file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t choices = data[0];
  const bool keepModel = (choices & 1) != 0;  // the open that keeps the model
  const bool exactSize = (choices & 2) == 0;  // mostly past the size check
  const bool withSide = (choices & 4) == 0;
  const std::span<const std::uint8_t> rest(data + 1, size - 1);
  std::vector<std::uint8_t> fileBytes(rest.begin(), rest.end());
  std::vector<std::uint8_t> sideBytes;
  if (exactSize) {
    if (rest.size() > DocumentRecord::kSize) {
      sideBytes.assign(rest.begin() + DocumentRecord::kSize, rest.end());
    }
    fileBytes.resize(DocumentRecord::kSize, 0x20);
  }

  const auto folder = cps::fuzz::ScratchFolder();
  const std::string original = (folder / "original.dat").string();
  const std::string saved = (folder / "saved.dat").string();
  const std::string again = (folder / "again.dat").string();
  for (const auto& path : {original, saved, again}) {
    std::error_code ignored;
    std::filesystem::remove(cps::SideFilePath(path), ignored);
    std::filesystem::remove(path, ignored);
  }
  cps::fuzz::WriteBytes(original, fileBytes);
  if (withSide) cps::fuzz::WriteBytes(cps::SideFilePath(original), sideBytes);

  Files files;
  cps::RunState first;
  const auto opened = files.open(first, original, keepModel);
  if (opened.outcome != FileOutcome::Done) {
    check(first.path == cps::kUntitledPath, "a refused open changed the document's path");
    return 0;
  }
  check(fileBytes.size() == DocumentRecord::kSize, "a file of the wrong size was opened");
  check(files.saveAs(first, saved).outcome == FileOutcome::Done, "an opened file did not save");
  const auto savedBytes = cps::fuzz::ReadBytes(saved);
  const auto savedSide = cps::fuzz::ReadBytes(cps::SideFilePath(saved));
  check(savedBytes.size() == DocumentRecord::kSize, "the saved data file is not 8595 bytes");
  check(savedSide.size() == SideFileRecord::kSize, "the saved side file is not 5 bytes");
  check(std::equal(savedBytes.begin(), savedBytes.begin() + 4, cps::kProgramVersion.begin()),
        "the saved file does not carry this program's version");
  check(sameApartFromVersionAndModel(fileBytes, savedBytes), "the save changed what the file held");
  // A side file of the right size keeps its alarm mode; any other reads as mode 1.
  const bool sideRead = withSide && sideBytes.size() == SideFileRecord::kSize;
  check(savedSide[4] == (sideRead ? sideBytes[4] : 1), "the alarm mode of the side file changed");

  cps::RunState second;
  check(files.open(second, saved, false).outcome == FileOutcome::Done,
        "a file this program saved does not open");
  check(second.savedImage == first.savedImage && second.savedSide == first.savedSide,
        "a saved file opens to another document");
  check(files.saveAs(second, again).outcome == FileOutcome::Done, "a reopened file did not save");
  check(cps::fuzz::ReadBytes(again) == savedBytes, "saving again gave other bytes");
  check(cps::fuzz::ReadBytes(cps::SideFilePath(again)) == savedSide,
        "saving again gave another side file");
  return 0;
}
