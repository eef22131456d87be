// Importing a channel list: the file is read, every row is tried on a copy of
// the document through the same edits a user makes in the channel table, and
// a row is taken only when the radio holds exactly what it asks; the user sees
// that plan before anything changes. Applying it is one step of the edit history.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/document/channel_list.hpp"
#include "core/document/records.hpp"
#include "core/exchange/channel_csv.hpp"

namespace cps {

struct RunState;

struct ImportOptions {
  bool replace = false;   // the channel list is cleared first
  bool renumber = false;  // rows go in file order to 1, 2, 3 ... (replace) or the free numbers
  bool operator==(const ImportOptions&) const = default;
};

struct ImportRow {
  int line = 0;                         // physical line of the file
  std::string location;                 // the Location cell as written
  std::string rx, tx;                   // what the channel will show, MHz
  int channel = 0;                      // where the row goes; 0 when skipped
  bool replacesChannel = false;         // a channel of that number was there before
  std::optional<ExchangeMessage> skip;  // why the row is skipped
  ChannelRequest request;
  bool imported() const { return !skip.has_value(); }
};

struct ImportPlan {
  ImportOptions options;
  std::optional<ExchangeMessage> refusal;  // the file cannot be read as a channel list
  std::vector<ImportRow> rows;
  std::vector<std::string> unknownColumns;
  std::vector<std::string> unheldColumns;  // known columns with values the radio has no place for
  DocumentRecord before;                   // the document the plan was made on
  DocumentRecord after;                    // and what it becomes

  int importedCount() const;
  int skippedCount() const;
  // The plan changes something: the file was read and at least one row goes in.
  bool usable() const { return !refusal && importedCount() > 0; }
};

// A channel list file larger than this is no channel list.
inline constexpr std::size_t kMaxChannelListBytes = 8 * 1024 * 1024;

// What the import would do to the working document; nothing changes.
ImportPlan PlanChannelImport(const RunState& state, std::string_view csv, ImportOptions options);

struct ImportResult {
  bool applied = false;
  std::optional<ExchangeMessage> refusal;
};
// Puts the rows of the plan into the working document as one undo step,
// through the channel edits and the channel commands' operations. Refused
// when the plan changes nothing or the document changed since it was made.
ImportResult ApplyChannelImport(RunState& state, const Effects& effects, const ImportPlan& plan);

}  // namespace cps
