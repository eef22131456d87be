// The state of one run of the program: the document in its two instances, the
// current model and band, the file it belongs to, what the link learned and
// what the windows share. One object, owned by the application and passed by
// reference. It gathers the document, the link and the editing state, so it
// sits above those folders rather than inside one of them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/document/defaults.hpp"
#include "core/document/edit_history.hpp"
#include "core/document/file_io.hpp"
#include "core/document/model.hpp"
#include "core/document/records.hpp"
#include "core/link/link_state.hpp"

namespace cps {

// The radio's production and dealer data, shown by the radio information window.
struct RadioInfoRecord {
  int bandCode = 0;
  std::string serialNumber;
  std::string productionDate;
  std::string repairDate;
  std::string repairReason;
  std::string versionInformation;
  std::string model;
  std::string salesRegionCode;
  std::string productionBatch;
  std::string customerCode;
  std::string dealerCode;
  std::string stockInDate;
  std::string saleDate;
  std::string handledBy;
  bool operator==(const RadioInfoRecord&) const = default;
};

// Today as the defaults need it; the core reads no clock, so the caller supplies it.
struct Today {
  std::string shortDate;  // the user's short date form
  int month = 1;          // 1 to 12
};

// What the channel table, its in-grid editing and the channel edit dialog share.
struct ChannelEditingState {
  int currentGroup = 0;  // 0-based group the table shows
  int dialogGroup = 0;
  int captionRow = 1;
  int editRow = 1;
  int editCol = 1;
  bool skipConcludeOnce = false;
  bool skipEnterCellOnce = false;
  bool isChannelWindowOpen = false;
  bool isEditDialogOpen = false;
};

// The channels the channel commands copied, kept inside the program. They
// survive new documents, opened files and reads from the radio, and are lost
// when the program ends.
struct ChannelClipboard {
  std::vector<ChannelRecord> channels;  // in table order, with their numbers and reserved fields
  bool hasChannel() const { return !channels.empty(); }
};

// The edit habits, kept in the habit file between runs.
struct HabitRecord {
  bool pasteNoPrompt = false;
  bool pasteInserts = false;  // paste inserts a new position instead of overwriting
  bool deleteNoPrompt = false;
  bool deleteCloses = false;  // delete also closes the gap in the group
  // The transmit column and field show and take the signed offset instead of
  // the transmit frequency.
  bool offsetMode = false;
  bool operator==(const HabitRecord&) const = default;
};

inline constexpr const char* kUntitledPath = "new.dat";

struct RunState {
  ModelState model;

  DocumentRecord workingDocument;
  DocumentRecord savedImage;
  SideFileRecord workingSide;
  SideFileRecord savedSide;

  std::string path = kUntitledPath;
  bool isUntitled = true;
  // The file as it was when this run last opened or saved it, to notice a
  // change another program made since.
  FileStamp diskStamp;

  HabitRecord habits;
  // The initialise command asks for every channel of the band's initial file.
  bool initialiseSettings = false;
  // What the link learned of the radios it met, kept between runs.
  std::array<std::uint8_t, 4> knownCapabilities{};
  LinkState link;

  // Five further test frequency pairs that the radio holds and the document does not.
  std::array<TestFrequencyRecord, 5> extraTestFrequencies = DefaultExtraTestFrequencies();
  RadioInfoRecord radioInfo;
  ChannelEditingState channelEditing;
  ChannelClipboard channelClipboard;
  EditHistory history;
};

}  // namespace cps
