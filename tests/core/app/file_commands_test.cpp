// The file commands: New with its initial files, Open with the version check,
// the open that keeps the current model, Save and Save As, and the prompts that
// guard unsaved changes. Every case runs against real files in a scratch folder.
#include "core/app/file_commands.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "../document/test_support.hpp"
#include "app_test_support.hpp"
#include "core/app/version_table.hpp"
#include "core/document/defaults.hpp"
#include "core/document/edit_history.hpp"
#include "core/document/file_io.hpp"
#include "core/document/instances.hpp"
#include "core/document/records.hpp"
#include "core/settings/setting_fields.hpp"

namespace cps {
namespace {

using testing::ChannelNumbers;
using testing::CurrentFolder;
using testing::MakeChannel;
using testing::NumberedText;
using testing::ReadBytes;
using testing::RecordingObserver;
using testing::ScriptedPrompter;
using testing::SetChannels;
using testing::TempFolder;
using testing::WriteBytes;
using testing::WriteText;

using Image = std::vector<std::uint8_t>;

Image ImageOf(const DocumentRecord& doc) {
  const auto bytes = doc.toBytes();
  return {bytes.begin(), bytes.end()};
}

Image ImageOf(const SideFileRecord& side) {
  const auto bytes = side.toBytes();
  return {bytes.begin(), bytes.end()};
}

void SetI16(Image& image, std::size_t offset, int value) {
  const auto u = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
  image.at(offset) = static_cast<std::uint8_t>(u & 0xFFu);
  image.at(offset + 1) = static_cast<std::uint8_t>(u >> 8);
}

// A data file as this program saves it, for the given model and band, with
// something other than the defaults in every block a new document fills.
DocumentRecord SavedDocument(std::string_view model, int bandIndex,
                             const std::vector<int>& channelNumbers = {1, 2, 17}) {
  DocumentRecord d;
  std::vector<ChannelRecord> channels;
  for (int n : channelNumbers) {
    ChannelRecord c = MakeChannel(n, "145" + std::to_string(10000 + n * 125), 2, "0060000");
    c.decodeTone = static_cast<std::int16_t>(n);
    channels.push_back(c);
  }
  SetChannels(d, channels);
  d.fmPresets[3].empty = 0;
  d.fmPresets[3].frequency.assign("09850000");
  d.testFrequencies[2] = {FixedText<8>("14600000"), FixedText<8>("14610000")};
  d.modelInfo.modelName.assign(model);
  d.modelInfo.bandIndex = static_cast<std::int16_t>(bandIndex);
  d.optionalFeatures.values = {1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  d.dtmf.idCode.assign("4711");
  d.dtmf.idLength = 4;
  d.message.lines[1].assign("SAVED");
  d.keys.values = {3, 4, 5, 0, 0, 1};
  d.alert.bytes[7] = 1;
  d.alert.bytes[8] = 2;
  d.scan.bytes[8] = 1;
  d.scan.bytes[9] = 17;
  return d;
}

SideFileRecord SideWithAlarm(int alarmMode) {
  SideFileRecord side;
  side.alarmMode = static_cast<std::uint8_t>(alarmMode);
  return side;
}

// Everything a refused or cancelled command must leave as it was.
struct Snapshot {
  DocumentRecord working;
  DocumentRecord saved;
  SideFileRecord workingSide;
  SideFileRecord savedSide;
  std::string path;
  bool isUntitled = true;
  std::string model;
  std::string band;
  int bandIndex = 0;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const RunState& s) {
  return {s.workingDocument,
          s.savedImage,
          s.workingSide,
          s.savedSide,
          s.path,
          s.isUntitled,
          s.model.currentModel,
          s.model.currentBandLabel,
          s.model.currentBandIndex};
}

std::vector<int> TextIds(const ScriptedPrompter& prompter) {
  std::vector<int> ids;
  for (const auto& m : prompter.asked) ids.push_back(m.textId);
  return ids;
}

const Today kToday{"2024-03-01", 3};

class FileCommandsTest : public ::testing::Test {
 protected:
  TempFolder tmp;
  RunState state;
  ScriptedPrompter prompter;
  RecordingObserver observer;
  VersionTable versions = TableOf({{"V200", "V200"}});
  FileContext ctx{state,        prompter, observer,   versions, NumberedText,
                  initFolder(), kToday,   tmp.path(), "cps530"};

  std::filesystem::path initFolder() const { return tmp / "V200" / "Init"; }

  static VersionTable TableOf(const std::vector<std::pair<std::string, std::string>>& pairs) {
    VersionTable table;
    for (const auto& [program, other] : pairs) table.pairs.push_back({program, other});
    return table;
  }

  void SetUp() override { MakeNewDocument(ctx); }

  // The document a new one has for the current model and band when there is no initial file.
  DocumentRecord Defaults() const {
    RunState fresh;
    fresh.model = state.model;
    ApplyDocumentDefaults(fresh, kToday);
    return fresh.workingDocument;
  }

  std::filesystem::path PutDataFile(std::string_view name, const DocumentRecord& doc,
                                    std::optional<SideFileRecord> side = std::nullopt) {
    const auto path = tmp / name;
    WriteBytes(path, ImageOf(doc));
    if (side) WriteBytes(SideFilePath(path.string()), ImageOf(*side));
    return path;
  }

  // An opened TW530 file on the 136 - 174 MHz band, changed since, so that a
  // command that leaves things as they were can be told from one that reloads.
  std::filesystem::path OpenChangedDocument() {
    const auto path = PutDataFile("current.dat", SavedDocument("TW530", 8), SideWithAlarm(2));
    const auto result = OpenPath(ctx, path.string());
    EXPECT_EQ(result.outcome, FileOutcome::Done);
    state.workingDocument.message.lines[0].assign("EDITED");
    EXPECT_TRUE(IsDocumentChanged(state));
    prompter.asked.clear();
    observer.childWindowCloses = 0;
    return path;
  }
};

// ---- Open ------------------------------------------------------------------------

using OpenTest = FileCommandsTest;

TEST_F(OpenTest, ADataFileOfExactSizeBecomesTheDocument) {
  const auto saved = SavedDocument("TW530", 8);
  const auto path = PutDataFile("radio1.dat", saved, SideWithAlarm(3));

  const auto result = OpenPath(ctx, path.string());

  EXPECT_EQ(result.outcome, FileOutcome::Done);
  EXPECT_TRUE(result.documentReplaced);
  EXPECT_TRUE(prompter.asked.empty());
  EXPECT_EQ(observer.childWindowCloses, 1);
  EXPECT_TRUE(state.workingDocument == saved);
  EXPECT_EQ(state.workingSide.alarmMode, 3);
  EXPECT_FALSE(IsDocumentChanged(state));
  EXPECT_EQ(state.path, path.string());
  EXPECT_FALSE(state.isUntitled);
  // The application takes on the model and band of the file.
  EXPECT_EQ(state.model.currentModel, "TW530");
  EXPECT_EQ(state.model.currentBandLabel, "136 - 174 MHz");
  EXPECT_EQ(state.model.currentBandIndex, 8);
  EXPECT_DOUBLE_EQ(state.model.limits.low, 136.0);
  EXPECT_DOUBLE_EQ(state.model.limits.high, 174.0);
}

struct SideCase {
  const char* name;
  std::optional<Image> side;
  int alarmMode;
};

// Names the case in test listings.
void PrintTo(const SideCase& c, std::ostream* os) { *os << c.name; }

class OpenSideFileTest : public FileCommandsTest, public ::testing::WithParamInterface<SideCase> {};

TEST_P(OpenSideFileTest, SideFileOfTheWrongSizeOrNoneGivesAlarmModeOne) {
  const auto path = PutDataFile("radio1.dat", SavedDocument("TW530G", 0));
  if (GetParam().side) WriteBytes(tmp / "radio1.NVD", *GetParam().side);
  ASSERT_EQ(OpenPath(ctx, path.string()).outcome, FileOutcome::Done);
  EXPECT_EQ(state.workingSide.alarmMode, GetParam().alarmMode);
  EXPECT_EQ(TrimFixed(state.workingSide.version), "V200");
  EXPECT_FALSE(IsDocumentChanged(state));
  EXPECT_TRUE(prompter.asked.empty());
}

INSTANTIATE_TEST_SUITE_P(SideFiles, OpenSideFileTest,
                         ::testing::Values(SideCase{"missing", std::nullopt, 1},
                                           SideCase{"four_bytes", Image{'V', '2', '0', '0'}, 1},
                                           SideCase{"six_bytes", Image{'V', '2', '0', '0', 3, 0},
                                                    1},
                                           SideCase{"five_bytes", Image{'V', '2', '0', '0', 3}, 3}),
                         [](const auto& row) { return std::string(row.param.name); });

struct RefusalCase {
  const char* name;
  // Puts the refused thing at the path.
  std::function<void(const std::filesystem::path&)> make;
  int textId;
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

// A data file with one thing wrong.
std::function<void(const std::filesystem::path&)> Damaged(std::function<void(Image&)> damage) {
  return [damage](const std::filesystem::path& path) {
    Image image = ImageOf(SavedDocument("TW530G", 0));
    damage(image);
    WriteBytes(path, image);
  };
}

const std::vector<RefusalCase> kOpenRefusals = {
    {"size_8594", Damaged([](Image& i) { i.pop_back(); }), 9033},
    {"size_8596", Damaged([](Image& i) { i.push_back(0); }), 9033},
    {"version_X200", Damaged([](Image& i) { i[0] = 'X'; }), 9065},
    {"version_V1A0", Damaged([](Image& i) {
       i[0] = 'V';
       i[1] = '1';
       i[2] = 'A';
       i[3] = '0';
     }),
     9065},
    {"empty_file", Damaged([](Image& i) { i.clear(); }), 9065},
    {"channel_count_129", Damaged([](Image& i) { SetI16(i, offsets::kChannelCount, 129); }), 9065},
    {"channel_count_negative", Damaged([](Image& i) { SetI16(i, offsets::kChannelCount, -1); }),
     9065},
    {"band_not_in_table", Damaged([](Image& i) { SetI16(i, offsets::kModelInfo + 7, 15); }), 9065},
    {"missing_file", [](const std::filesystem::path&) {}, 9002},
    {"folder_in_place_of_the_file",
     [](const std::filesystem::path& p) { std::filesystem::create_directories(p); }, 9002},
};

class OpenRefusalTest : public FileCommandsTest,
                        public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(OpenRefusalTest, RefusedFileLeavesTheDocumentAsItWas) {
  const auto current = OpenChangedDocument();
  const Snapshot before = Take(state);
  const auto refused = tmp / "refused.dat";
  GetParam().make(refused);

  const auto result = OpenPath(ctx, refused.string());

  EXPECT_EQ(result.outcome, FileOutcome::Refused);
  EXPECT_EQ(result.failure.textId, GetParam().textId);
  EXPECT_FALSE(result.documentReplaced);
  EXPECT_EQ(TextIds(prompter), std::vector<int>{GetParam().textId});
  EXPECT_TRUE(Take(state) == before) << "the document, its file or the model changed";
  EXPECT_EQ(state.path, current.string());
  EXPECT_TRUE(IsDocumentChanged(state));
}

INSTANTIATE_TEST_SUITE_P(Files, OpenRefusalTest, ::testing::ValuesIn(kOpenRefusals),
                         [](const auto& row) { return std::string(row.param.name); });

class SpecialOpenRefusalTest : public FileCommandsTest,
                               public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(SpecialOpenRefusalTest, RefusedFileLeavesTheDocumentAsItWas) {
  OpenChangedDocument();
  const Snapshot before = Take(state);
  const auto refused = tmp / "refused.dat";
  GetParam().make(refused);

  const auto result = SpecialOpenPath(ctx, refused.string());

  EXPECT_EQ(result.outcome, FileOutcome::Refused);
  EXPECT_EQ(TextIds(prompter), std::vector<int>{GetParam().textId});
  EXPECT_TRUE(Take(state) == before);
}

INSTANTIATE_TEST_SUITE_P(Files, SpecialOpenRefusalTest,
                         ::testing::Values(kOpenRefusals[0], kOpenRefusals[1], kOpenRefusals[5],
                                           kOpenRefusals[6], kOpenRefusals[8], kOpenRefusals[9]),
                         [](const auto& row) { return std::string(row.param.name); });

// ---- Version check ------------------------------------------------------------------

class OpenOtherVersionTest : public FileCommandsTest {
 protected:
  std::filesystem::path otherVersionFile() {
    auto doc = SavedDocument("TW530G", 0);
    doc.version.assign("V100");
    return PutDataFile("old.dat", doc);
  }
};

TEST_F(OpenOtherVersionTest, NoLeavesEverythingAsItWas) {
  OpenChangedDocument();
  const Snapshot before = Take(state);
  prompter.script = {Answer::No};

  const auto result = OpenPath(ctx, otherVersionFile().string());

  EXPECT_EQ(result.outcome, FileOutcome::Cancelled);
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_EQ(prompter.asked[0].textId, 0);
  EXPECT_EQ(prompter.asked[0].fixedText, "<9062>\r\n<9064> V1.00\r\n<9061> V2.00");
  EXPECT_EQ(prompter.asked[0].buttons, Buttons::YesNo);
  EXPECT_TRUE(Take(state) == before);
}

TEST_F(OpenOtherVersionTest, YesHandsOverToTheProgramVersionOfTheFile) {
  versions = TableOf({{"V200", "V200"}, {"V100", "V100"}});
  const Snapshot before = Take(state);
  prompter.script = {Answer::Yes};

  const auto result = OpenPath(ctx, otherVersionFile().string());

  EXPECT_EQ(result.outcome, FileOutcome::ExitProgram);
  EXPECT_EQ(result.launch, tmp / "V100" / "cps530");
  EXPECT_EQ(prompter.asked.size(), 1u) << "no further message after the question";
  EXPECT_TRUE(Take(state) == before);
}

TEST_F(OpenOtherVersionTest, YesWithoutAProgramForTheVersionSaysSoAndStillEnds) {
  const Snapshot before = Take(state);
  prompter.script = {Answer::Yes};

  const auto result = OpenPath(ctx, otherVersionFile().string());

  EXPECT_EQ(result.outcome, FileOutcome::ExitProgram);
  EXPECT_EQ(result.launch, std::filesystem::path());
  EXPECT_EQ(TextIds(prompter), (std::vector<int>{0, 9063}));
  EXPECT_TRUE(Take(state) == before);
}

TEST_F(OpenOtherVersionTest, VersionIsAskedAboutBeforeTheSize) {
  // A file of another version may have another size; its own program knows it.
  Image image = ImageOf(SavedDocument("TW530G", 0));
  image.resize(100);
  image[1] = '1';
  WriteBytes(tmp / "short_old.dat", image);
  prompter.script = {Answer::No};
  EXPECT_EQ(OpenPath(ctx, (tmp / "short_old.dat").string()).outcome, FileOutcome::Cancelled);
  EXPECT_EQ(TextIds(prompter), std::vector<int>{0});
}

TEST_F(OpenOtherVersionTest, VersionPairsReadTheOtherWayDoNotCount) {
  // V100V200 says the older program handles files of this one, not the reverse.
  versions = TableOf({{"V100", "V200"}});
  prompter.script = {Answer::No};
  EXPECT_EQ(OpenPath(ctx, otherVersionFile().string()).outcome, FileOutcome::Cancelled);
  EXPECT_EQ(TextIds(prompter), std::vector<int>{0});
}

// ---- Open command and its unsaved-changes prompt -----------------------------------

TEST_F(OpenTest, UnchangedDocumentOpensWithoutAsking) {
  const auto path = PutDataFile("radio1.dat", SavedDocument("TW530", 8));
  prompter.paths = {path.string()};

  const auto result = CommandOpen(ctx);

  EXPECT_EQ(result.outcome, FileOutcome::Done);
  EXPECT_TRUE(prompter.asked.empty());
  ASSERT_EQ(prompter.dialogs.size(), 1u);
  EXPECT_EQ(prompter.dialogs[0].kind, FileDialogRequest::Kind::Open);
  EXPECT_EQ(state.path, path.string());
}

TEST_F(OpenTest, CancelledDialogChangesNothing) {
  OpenChangedDocument();
  const Snapshot before = Take(state);
  prompter.script = {Answer::No};

  EXPECT_EQ(CommandOpen(ctx).outcome, FileOutcome::Cancelled);
  EXPECT_TRUE(Take(state) == before);
}

struct UnsavedCase {
  const char* name;
  Answer answer;
  bool currentFileSaved;
  bool opened;
};

void PrintTo(const UnsavedCase& c, std::ostream* os) { *os << c.name; }

class OpenUnsavedChangesTest : public FileCommandsTest,
                               public ::testing::WithParamInterface<UnsavedCase> {
 protected:
  // Runs Open or the special open from a changed document onto another file.
  void Run(const std::function<FileCommandResult(FileContext&)>& command) {
    const auto& c = GetParam();
    const auto current = OpenChangedDocument();
    const Image currentBefore = ReadBytes(current);
    const DocumentRecord edited = state.workingDocument;
    const Snapshot before = Take(state);
    const auto next = PutDataFile("next.dat", SavedDocument("TW530G", 0, {5}));
    prompter.script = {c.answer};
    prompter.paths = {next.string()};

    const auto result = command(ctx);

    ASSERT_FALSE(prompter.asked.empty());
    EXPECT_EQ(prompter.asked[0].textId, 9006);
    EXPECT_EQ(prompter.asked[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(prompter.asked[0].icon, Icon::Warning);
    EXPECT_EQ(prompter.asked.size(), 1u);
    if (c.currentFileSaved) {
      EXPECT_EQ(ReadBytes(current), ImageOf(edited));
    } else {
      EXPECT_EQ(ReadBytes(current), currentBefore);
    }
    if (c.opened) {
      EXPECT_EQ(result.outcome, FileOutcome::Done);
      EXPECT_EQ(state.path, next.string());
      EXPECT_EQ(ChannelNumbers(state.workingDocument), std::vector<int>{5});
      EXPECT_FALSE(IsDocumentChanged(state));
    } else {
      EXPECT_EQ(result.outcome, FileOutcome::Cancelled);
      EXPECT_TRUE(prompter.dialogs.empty()) << "no file dialog after Cancel";
      EXPECT_TRUE(Take(state) == before);
    }
  }
};

TEST_P(OpenUnsavedChangesTest, Open) { Run(CommandOpen); }
TEST_P(OpenUnsavedChangesTest, SpecialOpen) { Run(CommandSpecialOpen); }

INSTANTIATE_TEST_SUITE_P(Answers, OpenUnsavedChangesTest,
                         ::testing::Values(UnsavedCase{"Yes", Answer::Yes, true, true},
                                           UnsavedCase{"No", Answer::No, false, true},
                                           UnsavedCase{"Cancel", Answer::Cancel, false, false}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(OpenTest, YesWhoseSaveFailsStopsTheOpen) {
  // Going on would throw away changes that exist only in memory.
  OpenChangedDocument();
  WriteText(tmp / "afile", "a plain file where a folder should be");
  state.path = (tmp / "afile" / "x.dat").string();
  const Snapshot before = Take(state);
  const auto next = PutDataFile("next.dat", SavedDocument("TW530G", 0, {5}));
  prompter.script = {Answer::Yes};
  prompter.paths = {next.string()};

  const auto result = CommandOpen(ctx);

  EXPECT_EQ(result.outcome, FileOutcome::Cancelled);
  EXPECT_EQ(TextIds(prompter), (std::vector<int>{9006, text::kFileNotSaved}));
  EXPECT_TRUE(prompter.dialogs.empty());
  EXPECT_TRUE(Take(state) == before);
  EXPECT_TRUE(IsDocumentChanged(state));
}

TEST_F(OpenTest, YesOnAChangedNewDocumentWritesNewDatInTheCurrentFolder) {
  state.workingDocument.message.lines[0].assign("EDITED");
  const DocumentRecord edited = state.workingDocument;
  const auto next = PutDataFile("next.dat", SavedDocument("TW530G", 0, {5}));
  prompter.script = {Answer::Yes};
  prompter.paths = {next.string()};
  {
    CurrentFolder inTmp(tmp.path());
    EXPECT_EQ(CommandOpen(ctx).outcome, FileOutcome::Done);
  }
  EXPECT_EQ(ReadBytes(tmp / "new.dat"), ImageOf(edited));
  EXPECT_EQ(ReadBytes(tmp / "new.NVD").size(), SideFileRecord::kSize);
  EXPECT_EQ(state.path, next.string());
}

// ---- Special open -------------------------------------------------------------------

using SpecialOpenTest = FileCommandsTest;

TEST_F(SpecialOpenTest, KeepsTheCurrentModelAndBandAndSkipsTheVersionCheck) {
  auto other = SavedDocument("TW530", 8);
  other.version.assign("V100");
  const auto path = PutDataFile("other.dat", other, SideWithAlarm(3));

  const auto result = SpecialOpenPath(ctx, path.string());

  EXPECT_EQ(result.outcome, FileOutcome::Done);
  EXPECT_TRUE(result.documentReplaced);
  EXPECT_TRUE(prompter.asked.empty()) << "no version question";
  EXPECT_EQ(observer.childWindowCloses, 1);
  EXPECT_EQ(state.model.currentModel, "TW530G");
  EXPECT_EQ(state.model.currentBandLabel, "400 - 480 MHz");
  EXPECT_EQ(TrimFixed(state.workingDocument.modelInfo.modelName), "TW530G");
  EXPECT_EQ(state.workingDocument.modelInfo.bandIndex, 0);
  EXPECT_EQ(TrimFixed(state.workingDocument.version), "V100");
  EXPECT_EQ(ChannelNumbers(state.workingDocument), (std::vector<int>{1, 2, 17}));
  EXPECT_TRUE(state.workingDocument.optionalFeatures == other.optionalFeatures);
  EXPECT_EQ(state.workingSide.alarmMode, 3);
  EXPECT_FALSE(IsDocumentChanged(state));
  EXPECT_EQ(state.path, path.string());
  EXPECT_FALSE(state.isUntitled);
}

TEST_F(SpecialOpenTest, BandUnknownToTheTableIsReplacedByTheCurrentOne) {
  Image image = ImageOf(SavedDocument("TW530G", 0));
  SetI16(image, offsets::kModelInfo + 7, 15);
  WriteBytes(tmp / "odd.dat", image);

  EXPECT_EQ(SpecialOpenPath(ctx, (tmp / "odd.dat").string()).outcome, FileOutcome::Done);
  EXPECT_EQ(state.workingDocument.modelInfo.bandIndex, 0);
  EXPECT_EQ(state.model.currentBandLabel, "400 - 480 MHz");
}

// ---- Save and Save As ----------------------------------------------------------------

using SaveTest = FileCommandsTest;

TEST_F(SaveTest, WritesTheDataFileAndItsSideFile) {
  state.workingDocument.message.lines[0].assign("SAVE ME");
  state.workingSide.alarmMode = 2;
  const auto path = tmp / "abc.dat";

  const auto result = SaveAsPath(ctx, path.string());

  EXPECT_EQ(result.outcome, FileOutcome::Done);
  EXPECT_TRUE(prompter.asked.empty());
  const Image data = ReadBytes(path);
  ASSERT_EQ(data.size(), DocumentRecord::kSize);
  EXPECT_EQ(data, ImageOf(state.workingDocument));
  EXPECT_EQ(std::string(data.begin(), data.begin() + 4), "V200");
  EXPECT_EQ(ReadBytes(tmp / "abc.NVD"), (Image{'V', '2', '0', '0', 2}));
  EXPECT_EQ(state.path, path.string());
  EXPECT_FALSE(state.isUntitled);
  EXPECT_FALSE(IsDocumentChanged(state));
}

TEST_F(SaveTest, SavedFileOpensAsTheSameDocument) {
  state.workingDocument = SavedDocument("TW530G", 0);
  const DocumentRecord written = state.workingDocument;
  const auto path = tmp / "roundtrip.dat";
  ASSERT_EQ(SaveAsPath(ctx, path.string()).outcome, FileOutcome::Done);
  MakeNewDocument(ctx);
  ASSERT_EQ(OpenPath(ctx, path.string()).outcome, FileOutcome::Done);
  EXPECT_TRUE(state.workingDocument == written);
}

TEST_F(SaveTest, UntitledDocumentAsksForAPath) {
  state.workingDocument.message.lines[0].assign("EDITED");
  const auto path = tmp / "chosen.dat";
  prompter.paths = {path.string()};

  EXPECT_EQ(CommandSave(ctx).outcome, FileOutcome::Done);

  ASSERT_EQ(prompter.dialogs.size(), 1u);
  EXPECT_EQ(prompter.dialogs[0].kind, FileDialogRequest::Kind::Save);
  EXPECT_EQ(prompter.dialogs[0].initialPath, "new.dat");
  EXPECT_TRUE(prompter.asked.empty()) << "Save As asks no question of its own";
  EXPECT_EQ(ReadBytes(path).size(), DocumentRecord::kSize);
  EXPECT_EQ(state.path, path.string());
  EXPECT_FALSE(state.isUntitled);
}

TEST_F(SaveTest, CancelledSaveAsDialogWritesNothing) {
  state.workingDocument.message.lines[0].assign("EDITED");
  const Snapshot before = Take(state);

  EXPECT_EQ(CommandSave(ctx).outcome, FileOutcome::Cancelled);

  EXPECT_TRUE(Take(state) == before);
  EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));
}

TEST_F(SaveTest, SaveAsDialogStartsWithTheCurrentPath) {
  const auto current = OpenChangedDocument();
  EXPECT_EQ(CommandSaveAs(ctx).outcome, FileOutcome::Cancelled);
  ASSERT_EQ(prompter.dialogs.size(), 1u);
  EXPECT_EQ(prompter.dialogs[0].initialPath, current.string());
}

TEST_F(SaveTest, OpenedDocumentAsksWithTheQuotedFileName) {
  const auto current = OpenChangedDocument();
  prompter.script = {Answer::Ok};

  EXPECT_EQ(CommandSave(ctx).outcome, FileOutcome::Done);

  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_EQ(prompter.asked[0].fixedText, "\"current.dat\"");
  EXPECT_EQ(prompter.asked[0].textId, 9007);
  EXPECT_EQ(prompter.asked[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(prompter.asked[0].icon, Icon::Question);
  EXPECT_TRUE(prompter.dialogs.empty());
  EXPECT_EQ(ReadBytes(current), ImageOf(state.workingDocument));
  EXPECT_FALSE(IsDocumentChanged(state));
}

TEST_F(SaveTest, CancelAtTheQuestionWritesNothing) {
  const auto current = OpenChangedDocument();
  const Image onDisk = ReadBytes(current);
  const Image sideOnDisk = ReadBytes(tmp / "current.NVD");
  const Snapshot before = Take(state);
  prompter.script = {Answer::Cancel};

  EXPECT_EQ(CommandSave(ctx).outcome, FileOutcome::Cancelled);

  EXPECT_EQ(ReadBytes(current), onDisk);
  EXPECT_EQ(ReadBytes(tmp / "current.NVD"), sideOnDisk);
  EXPECT_TRUE(Take(state) == before);
}

// The side file is half of what is saved: when it cannot be written, the data
// file is not written either, and the user is told why.
TEST_F(SaveTest, SideFileThatCannotBeWrittenFailsTheWholeSave) {
  std::filesystem::create_directories(tmp / "abc.NVD");
  EXPECT_EQ(SaveAsPath(ctx, (tmp / "abc.dat").string()).outcome, FileOutcome::Refused);
  EXPECT_EQ(TextIds(prompter), std::vector<int>{text::kFileNotSaved});
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_NE(prompter.asked.front().arguments.at(0).find("abc.NVD"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(tmp / "abc.dat"));
}

TEST_F(SaveTest, ANameWithoutExtensionGetsDat) {
  EXPECT_EQ(SaveAsPath(ctx, (tmp / "doc1").string()).outcome, FileOutcome::Done);
  EXPECT_EQ(state.path, (tmp / "doc1.dat").string());
  EXPECT_EQ(ReadBytes(tmp / "doc1.dat").size(), DocumentRecord::kSize);
  EXPECT_EQ(ReadBytes(tmp / "doc1.NVD").size(), SideFileRecord::kSize);
}

struct FailedSaveCase {
  const char* name;
  std::function<std::filesystem::path(const TempFolder&)> target;
};

void PrintTo(const FailedSaveCase& c, std::ostream* os) { *os << c.name; }

class FailedSaveTest : public FileCommandsTest,
                       public ::testing::WithParamInterface<FailedSaveCase> {};

TEST_P(FailedSaveTest, KeepsTheOldFileAndTheChanges) {
  const auto current = OpenChangedDocument();
  const Snapshot before = Take(state);
  const auto target = GetParam().target(tmp);
  prompter.paths = {target.string()};

  const auto result = CommandSaveAs(ctx);

  EXPECT_EQ(result.outcome, FileOutcome::Refused);
  EXPECT_EQ(TextIds(prompter), std::vector<int>{text::kFileNotSaved});
  EXPECT_TRUE(IsDocumentChanged(state)) << "nothing was saved";
  EXPECT_EQ(state.path, current.string()) << "the document still belongs to its old file";
  EXPECT_FALSE(state.isUntitled);
  EXPECT_TRUE(Take(state) == before);
}

INSTANTIATE_TEST_SUITE_P(Targets, FailedSaveTest,
                         ::testing::Values(FailedSaveCase{"parent_is_a_file",
                                                          [](const TempFolder& scratch) {
                                                            WriteText(scratch / "afile", "x");
                                                            return scratch / "afile" / "x.dat";
                                                          }},
                                           FailedSaveCase{"target_is_a_folder",
                                                          [](const TempFolder& scratch) {
                                                            std::filesystem::create_directories(
                                                                scratch / "folder.dat");
                                                            return scratch / "folder.dat";
                                                          }},
                                           FailedSaveCase{"missing_folder",
                                                          [](const TempFolder& scratch) {
                                                            return scratch / "no" / "x.dat";
                                                          }}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(SaveTest, ReadOnlyFolderKeepsTheOldFileByteForByte) {
  const auto folder = tmp / "readonly";
  std::filesystem::create_directories(folder);
  const auto path = folder / "abc.dat";
  WriteBytes(path, ImageOf(SavedDocument("TW530", 8)));
  ASSERT_EQ(OpenPath(ctx, path.string()).outcome, FileOutcome::Done);
  state.workingDocument.message.lines[0].assign("EDITED");
  const Image old = ReadBytes(path);
  std::filesystem::permissions(
      folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  {
    // Permissions do not stop every user (an administrator writes anyway).
    const auto probe = folder / "probe";
    std::ofstream(probe) << "x";
    if (std::filesystem::exists(probe)) {
      std::filesystem::remove(probe);
      GTEST_SKIP() << "this user can write into read-only folders";
    }
  }
  prompter.script = {Answer::Ok};

  EXPECT_EQ(CommandSave(ctx).outcome, FileOutcome::Refused);

  EXPECT_EQ(TextIds(prompter), (std::vector<int>{9007, 9002}));
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_TRUE(IsDocumentChanged(state));
}

// ---- New -------------------------------------------------------------------------------

using NewTest = FileCommandsTest;

TEST_F(NewTest, UnchangedDocumentAsksOnlyForConfirmation) {
  const auto path = PutDataFile("radio1.dat", SavedDocument("TW530", 8));
  ASSERT_EQ(OpenPath(ctx, path.string()).outcome, FileOutcome::Done);
  observer.childWindowCloses = 0;
  prompter.script = {Answer::Ok};

  const auto result = CommandNew(ctx);

  EXPECT_EQ(result.outcome, FileOutcome::Done);
  EXPECT_TRUE(result.documentReplaced);
  ASSERT_EQ(prompter.asked.size(), 1u);
  EXPECT_EQ(prompter.asked[0].textId, 9026);
  EXPECT_EQ(prompter.asked[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(prompter.asked[0].icon, Icon::Warning);
  EXPECT_EQ(observer.childWindowCloses, 1);
  EXPECT_TRUE(state.isUntitled);
  EXPECT_EQ(state.path, "new.dat");
  EXPECT_TRUE(state.workingDocument == Defaults());
  EXPECT_FALSE(IsDocumentChanged(state));
}

struct NewCase {
  const char* name;
  Answer unsaved;  // at text 9006
  Answer confirm;  // at text 9026
};

void PrintTo(const NewCase& c, std::ostream* os) { *os << c.name; }

class NewUnsavedChangesTest : public FileCommandsTest,
                              public ::testing::WithParamInterface<NewCase> {};

TEST_P(NewUnsavedChangesTest, ConfirmationFollowsWhateverTheAnswer) {
  const auto& c = GetParam();
  const auto current = OpenChangedDocument();
  const Image onDisk = ReadBytes(current);
  const DocumentRecord edited = state.workingDocument;
  prompter.script = {c.unsaved, c.confirm};

  const auto result = CommandNew(ctx);

  EXPECT_EQ(TextIds(prompter), (std::vector<int>{9006, 9026}));
  EXPECT_EQ(prompter.asked[0].buttons, Buttons::YesNoCancel);
  EXPECT_EQ(ReadBytes(current), c.unsaved == Answer::Yes ? ImageOf(edited) : onDisk);
  if (c.confirm == Answer::Ok) {
    EXPECT_EQ(result.outcome, FileOutcome::Done);
    EXPECT_TRUE(state.isUntitled);
    EXPECT_EQ(state.path, "new.dat");
    EXPECT_TRUE(state.workingDocument == Defaults());
    EXPECT_EQ(observer.childWindowCloses, 1);
  } else {
    EXPECT_EQ(result.outcome, FileOutcome::Cancelled);
    EXPECT_TRUE(state.workingDocument == edited) << "the document is kept";
    EXPECT_EQ(state.path, current.string());
    EXPECT_FALSE(state.isUntitled);
    EXPECT_EQ(IsDocumentChanged(state), c.unsaved != Answer::Yes);
    EXPECT_EQ(observer.childWindowCloses, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, NewUnsavedChangesTest,
                         ::testing::Values(NewCase{"YesOk", Answer::Yes, Answer::Ok},
                                           NewCase{"YesCancel", Answer::Yes, Answer::Cancel},
                                           NewCase{"NoOk", Answer::No, Answer::Ok},
                                           NewCase{"NoCancel", Answer::No, Answer::Cancel},
                                           NewCase{"CancelOk", Answer::Cancel, Answer::Ok},
                                           NewCase{"CancelCancel", Answer::Cancel, Answer::Cancel}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(NewTest, ToolbarNewReplacesWithoutAsking) {
  OpenChangedDocument();
  state.initialiseSettings = true;

  const auto result = LoadNewDoc(ctx);

  EXPECT_EQ(result.outcome, FileOutcome::Done);
  EXPECT_TRUE(result.documentReplaced);
  EXPECT_TRUE(prompter.asked.empty());
  EXPECT_EQ(observer.childWindowCloses, 1);
  EXPECT_FALSE(state.initialiseSettings);
  EXPECT_TRUE(state.isUntitled);
  EXPECT_EQ(state.path, "new.dat");
  // A new document is made for the model and band in use.
  EXPECT_EQ(state.model.currentModel, "TW530");
  EXPECT_EQ(state.model.currentBandIndex, 8);
  EXPECT_TRUE(state.workingDocument == Defaults());
}

// ---- The edit history ---------------------------------------------------------------------

using HistoryTest = FileCommandsTest;

struct ReplaceCase {
  const char* what;
  std::function<FileCommandResult()> replace;
  bool startsAfresh;
};

TEST_F(HistoryTest, NewAndOpenStartANewHistoryAndARefusedOpenKeepsIt) {
  const auto file = PutDataFile("radio1.dat", SavedDocument("TW530", 8));
  const auto refused = tmp / "short.dat";
  WriteBytes(refused, Image{'V', '2', '0', '0', 0, 0});
  const Effects effects{prompter, observer};
  const SettingField& line = *FindSettingField("message.1");
  const std::vector<ReplaceCase> cases = {
      {"new", [&] { return LoadNewDoc(ctx); }, true},
      {"open", [&] { return OpenPath(ctx, file.string()); }, true},
      {"open keeping the model", [&] { return SpecialOpenPath(ctx, file.string()); }, true},
      {"refused open", [&] { return OpenPath(ctx, refused.string()); }, false},
  };
  for (const auto& c : cases) {
    SetSetting(state, effects, line, "FIRST");
    SetSetting(state, effects, line, "SECOND");
    ASSERT_TRUE(Undo(state)) << c.what;
    ASSERT_TRUE(CanUndo(state) && CanRedo(state)) << c.what;

    c.replace();

    EXPECT_EQ(CanUndo(state), !c.startsAfresh) << c.what;
    EXPECT_EQ(CanRedo(state), !c.startsAfresh) << c.what;
  }
}

// ---- Initial files ------------------------------------------------------------------------

class InitialFileTest : public FileCommandsTest {
 protected:
  void PutInitFile(std::string_view name, const Image& image,
                   std::optional<SideFileRecord> side = std::nullopt) {
    const auto path = initFolder() / name;
    WriteBytes(path, image);
    if (side) WriteBytes(SideFilePath(path.string()), ImageOf(*side));
  }
  void NewDocumentFor(std::string_view model, std::string_view band) {
    state.model.select(model, band);
    LoadNewDoc(ctx);
  }
};

TEST_F(InitialFileTest, BandFileLendsItsChannelOneOnly) {
  const auto bandFile = SavedDocument("TW530G", 0, {2, 17, 1});
  PutInitFile("TW530G_0.dat", ImageOf(bandFile), SideWithAlarm(3));

  NewDocumentFor("TW530G", "400 - 480 MHz");

  EXPECT_EQ(ChannelNumbers(state.workingDocument), std::vector<int>{1});
  EXPECT_TRUE(state.workingDocument.channels[0] == bandFile.channels[2]);
  EXPECT_TRUE(state.workingDocument.optionalFeatures == bandFile.optionalFeatures);
  EXPECT_TRUE(state.workingDocument.keys == bandFile.keys);
  EXPECT_EQ(state.workingSide.alarmMode, 3);
  EXPECT_FALSE(IsDocumentChanged(state));
  EXPECT_TRUE(state.isUntitled);
  EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(InitialFileTest, InitialiseCommandTakesEveryChannel) {
  PutInitFile("TW530G_0.dat", ImageOf(SavedDocument("TW530G", 0, {2, 17, 1})));
  state.initialiseSettings = true;

  NewDocumentFor("TW530G", "400 - 480 MHz");

  EXPECT_EQ(ChannelNumbers(state.workingDocument), (std::vector<int>{2, 17, 1}));
  EXPECT_FALSE(state.initialiseSettings) << "cleared once the new document is shown";
  EXPECT_FALSE(IsDocumentChanged(state));
}

TEST_F(InitialFileTest, BandFileWithoutChannelOneGivesNoChannels) {
  PutInitFile("TW530G_0.dat", ImageOf(SavedDocument("TW530G", 0, {2, 17})));
  NewDocumentFor("TW530G", "400 - 480 MHz");
  EXPECT_EQ(state.workingDocument.channelCount, 0);
  EXPECT_FALSE(IsDocumentChanged(state));
}

TEST_F(InitialFileTest, BandFileIsChosenByModelAndBandIndex) {
  PutInitFile("TW530_8.dat", ImageOf(SavedDocument("TW530", 8, {1, 2})));
  PutInitFile("TW530G_8.dat", ImageOf(SavedDocument("TW530G", 8, {1, 3})));
  state.initialiseSettings = true;
  NewDocumentFor("TW530", "136 - 174 MHz");
  EXPECT_EQ(ChannelNumbers(state.workingDocument), (std::vector<int>{1, 2}));
}

TEST_F(InitialFileTest, BandFileOfTheWrongSizeGivesTheDefaults) {
  Image image = ImageOf(SavedDocument("TW530G", 0));
  image.pop_back();
  PutInitFile("TW530G_0.dat", image);

  NewDocumentFor("TW530G", "400 - 480 MHz");

  EXPECT_EQ(TextIds(prompter), std::vector<int>{9033});
  EXPECT_TRUE(state.workingDocument == Defaults());
  EXPECT_FALSE(IsDocumentChanged(state));
}

TEST_F(InitialFileTest, UnreadableBandFileGivesTheDefaultsSilently) {
  std::filesystem::create_directories(initFolder() / "TW530G_0.dat");
  NewDocumentFor("TW530G", "400 - 480 MHz");
  EXPECT_TRUE(prompter.asked.empty());
  EXPECT_TRUE(state.workingDocument == Defaults());
  EXPECT_FALSE(IsDocumentChanged(state));
}

TEST_F(InitialFileTest, FallBackFileLendsOnlyFeaturesPresetsAndTestFrequencies) {
  const auto fallback = SavedDocument("TW530G", 0, {1, 2, 17});
  PutInitFile("TW530G_0.dat", ImageOf(fallback), SideWithAlarm(3));

  NewDocumentFor("TW530G", "440 - 480 MHz");

  const DocumentRecord defaults = Defaults();
  const auto& doc = state.workingDocument;
  EXPECT_TRUE(doc.optionalFeatures == fallback.optionalFeatures);
  EXPECT_TRUE(doc.fmPresets == fallback.fmPresets);
  EXPECT_TRUE(doc.testFrequencies == fallback.testFrequencies);
  EXPECT_EQ(ChannelNumbers(doc), ChannelNumbers(defaults));
  EXPECT_TRUE(doc.channels[0] == defaults.channels[0]);
  EXPECT_TRUE(doc.keys == defaults.keys);
  EXPECT_TRUE(doc.message == defaults.message);
  EXPECT_TRUE(doc.dtmf == defaults.dtmf);
  EXPECT_TRUE(doc.alert == defaults.alert);
  EXPECT_TRUE(doc.scan == defaults.scan);
  EXPECT_EQ(doc.modelInfo.bandIndex, 3);
  EXPECT_EQ(state.model.currentBandLabel, "440 - 480 MHz");
  EXPECT_EQ(state.workingSide.alarmMode, 1);
  EXPECT_TRUE(IsDocumentChanged(state)) << "the lent blocks are not in a file yet";
  EXPECT_TRUE(prompter.asked.empty());
}

struct FallBackCase {
  const char* name;
  const char* model;
  const char* presentFile;
  bool lent;
};

void PrintTo(const FallBackCase& c, std::ostream* os) { *os << c.name; }

class FallBackChoiceTest : public InitialFileTest,
                           public ::testing::WithParamInterface<FallBackCase> {};

TEST_P(FallBackChoiceTest, EachModelHasItsOwnFallBackFile) {
  const auto& c = GetParam();
  const auto fallback = SavedDocument(c.model, 0);
  PutInitFile(c.presentFile, ImageOf(fallback));

  NewDocumentFor(c.model, "440 - 480 MHz");

  EXPECT_EQ(state.workingDocument.optionalFeatures == fallback.optionalFeatures, c.lent);
  EXPECT_EQ(IsDocumentChanged(state), c.lent);
}

INSTANTIATE_TEST_SUITE_P(
    Models, FallBackChoiceTest,
    ::testing::Values(FallBackCase{"TW530_own", "TW530", "TW530_0.dat", true},
                      FallBackCase{"TW530G_own", "TW530G", "TW530G_0.dat", true},
                      FallBackCase{"TW530_not_the_G_file", "TW530", "TW530G_0.dat", false},
                      FallBackCase{"TW530G_not_the_plain_file", "TW530G", "TW530_0.dat", false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(InitialFileTest, FallBackFileOfTheWrongSizeGivesTheDefaults) {
  Image image = ImageOf(SavedDocument("TW530G", 0));
  image.push_back(0);
  PutInitFile("TW530G_0.dat", image);

  NewDocumentFor("TW530G", "440 - 480 MHz");

  EXPECT_EQ(TextIds(prompter), std::vector<int>{9033});
  EXPECT_TRUE(state.workingDocument == Defaults());
  EXPECT_FALSE(IsDocumentChanged(state));
}

// ---- Title --------------------------------------------------------------------------------

TEST_F(FileCommandsTest, TitleNamesModelBandAndFile) {
  EXPECT_EQ(MainWindowTitle(state, NumberedText),
            "<12000>[CPS530G:400 - 480 MHz][<12009>:new.dat]");
  const auto path = PutDataFile("radio1.dat", SavedDocument("TW530", 8));
  ASSERT_EQ(OpenPath(ctx, path.string()).outcome, FileOutcome::Done);
  EXPECT_EQ(MainWindowTitle(state, NumberedText),
            "<12000>[CPS530:136 - 174 MHz][<12009>:radio1.dat]");
}

TEST(FileNameOfPathTest, PartAfterTheLastSeparator) {
  EXPECT_EQ(FileNameOfPath("C:\\data\\radio1.dat"), "radio1.dat");
  EXPECT_EQ(FileNameOfPath("/home/user/radio1.dat"), "radio1.dat");
  EXPECT_EQ(FileNameOfPath("new.dat"), "new.dat");
  EXPECT_EQ(FileNameOfPath("C:\\data/mixed\\x.dat"), "x.dat");
  EXPECT_EQ(FileNameOfPath("folder/"), "");
  EXPECT_EQ(FileNameOfPath(""), "");
}

}  // namespace
}  // namespace cps
