// What differs between two documents, field by field, in the words of the
// windows: a channel's field as the channel table and the channel dialog show
// it, a setting as its window shows it, model and band. The command line's
// diff, the desktop's compare windows and the check after a write all list
// their differences from here.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/channels/channel_table.hpp"
#include "core/document/data_file.hpp"
#include "core/document/failure.hpp"

namespace cps {

struct DocumentRecord;
struct SideFileRecord;
struct ChannelRecord;
struct SettingField;
struct RunState;

// The blocks of a document in the order the differences are listed, each
// named after the window that edits it.
enum class CompareBlock {
  Model,
  Channels,
  OptionalFeatures,
  Dtmf,
  Scan,
  Alert,
  Keys,
  Message,
  TestFrequencies,
  FmPresets,
};

// One side of a comparison: a document with its side record, and the model
// and band it belongs to.
struct ComparedDocument {
  const DocumentRecord& document;
  const SideFileRecord& side;
  std::string model;      // "TW530G"
  std::string bandLabel;  // "400 - 480 MHz"
  // The document as stored, when `document` is a copy as the windows would
  // show it: what a write would send to the radio, and what decides whether
  // two documents differ. Null: `document` is the stored one.
  const DocumentRecord* stored = nullptr;
  const SideFileRecord* storedSide = nullptr;
};

// The working document of a run, with the run's current model and band.
ComparedDocument WorkingDocumentOf(const RunState& state);

// A data file read only to be compared: nothing of the run changes, and a
// file of another format version is refused rather than handed over.
struct ComparedFile {
  LoadedDataFile file;  // as the windows would show it
  std::string model;
  std::string bandLabel;
  LoadedDataFile stored;  // as the file or the run holds it
  ComparedDocument view() const {
    return {file.document, file.side, model, bandLabel, &stored.document, &stored.side};
  }
};
struct ComparedFileResult {
  std::optional<ComparedFile> file;
  Failure failure;  // why the file cannot be compared, naming it
};
// The file as the program shows it once opened: as `cps530-cli get` prints
// it, every window having stored what it shows (a channel reference follows
// to a channel that exists).
ComparedFileResult ReadComparedFile(const std::string& path);

// The working document of a run, and the side record, model and band with
// it, as every window would show it once opened; the run is not changed.
ComparedFile ShownCopyOf(const RunState& state);

struct FieldDifference {
  CompareBlock block = CompareBlock::Model;
  // Stable, for scripts: "band", "channel.12" (a channel on one side only),
  // "channel.12.power", "scan.mode", "alert.stored" (bytes no field shows).
  std::string field;
  int channel = 0;                        // a channel's number; 0 for other lines
  const SettingField* setting = nullptr;  // the setting of a settings line
  std::string label;                      // the table's header, the dialog's or window's label
  std::string a;                          // the value as shown on each side
  std::string b;
};

struct CompareOptions {
  // The transmit column shows the signed offset, as the edit habit chooses.
  bool offsetMode = false;
  // Check boxes as the words "Yes" and "No" rather than the 1 and 0 that
  // cps530-cli get prints and set takes.
  bool checksAsWords = true;
  // Values as the windows show them (a stored number that no item names shows
  // the first item, a text its characters), for people; false: as
  // cps530-cli get prints them (=N, \xHH), for scripts.
  bool asTheWindowsShow = true;
};

// Every field that differs, block by block; channels are matched by number,
// so the order of the channel list does not count. What decides is what the
// documents store: where two stored values show the same text (a value the
// window cannot offer shows its first item), the stored values follow in
// brackets, and where the radio images the two would be written as differ in
// a place no field line covers, a line gives the image's bytes, so that no
// difference that reaches a radio is hidden.
std::vector<FieldDifference> CompareDocuments(const ComparedDocument& a, const ComparedDocument& b,
                                              const TextOf& textOf, const CompareOptions& options);

// The settings blocks in the order of the windows, each with its field table.
struct SettingsBlock {
  CompareBlock block;
  std::span<const SettingField> (*fields)();
  std::string_view name;  // "options"
  int titleTextId;
};
std::span<const SettingsBlock> SettingsBlocks();

// ---- A field as the windows show it (the report shows them the same way) ----

struct ChannelFieldRow;
struct CodecContext;

// The channel table's header for a column field, the dialog's label for the others.
std::string ChannelFieldLabel(const ChannelFieldRow& row, bool offsetMode, const TextOf& textOf);
// The cell's text for a column field, the item or the box for the others.
std::string ChannelFieldText(const ChannelFieldRow& row, const ChannelRecord& channel,
                             const DocumentRecord& document, const CodecContext& codec,
                             const CompareOptions& options, const TextOf& textOf);
// The window's label; a row of a table (a memory, a message line) has none and
// gives its name.
std::string SettingLabel(const SettingField& field, const TextOf& textOf);
std::string SettingShownText(const SettingField& field, const DocumentRecord& document,
                             const SideFileRecord& side, const CodecContext& codec,
                             const CompareOptions& options, const TextOf& textOf);

// The window title a block's differences are grouped under.
int CompareBlockTextId(CompareBlock block);
// "channels", "options", …: the block's name in JSON.
std::string_view CompareBlockName(CompareBlock block);

// "channel.12.power (Power): High -> Low"; an empty value shows as "".
std::string DifferenceLine(const FieldDifference& difference);

}  // namespace cps
