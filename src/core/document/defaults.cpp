#include "core/document/defaults.hpp"

#include <cstdio>

#include "core/document/channel_list.hpp"
#include "core/document/codec.hpp"
#include "core/document/instances.hpp"
#include "core/run_state.hpp"

namespace cps {

namespace {

TestFrequencyRecord pair(const char* first, const char* second) {
  return {FixedText<8>(first), FixedText<8>(second)};
}

}  // namespace

void ApplyDocumentDefaults(RunState& state, const Today& today) {
  auto& doc = state.workingDocument;
  // Start from a blank record so that no entry of the previous document stays
  // behind the channel count, where it would still be written to the file.
  doc = DocumentRecord{};

  doc.keys.values = {10, 10, 0, 0, 0, 0};
  doc.alert.bytes.fill(0);
  doc.scan.bytes.fill(0);

  doc.optionalFeatures.values.fill(0);
  doc.optionalFeatures.values[1] = 1;
  doc.optionalFeatures.values[3] = 3;

  for (auto& line : doc.message.lines) line = NulText<16>();

  doc.dtmf.settings.fill(0);
  doc.dtmf.idCode.assign("000");
  doc.dtmf.idLength = 3;
  for (auto& code : doc.dtmf.specialCodes) code = DtmfCodeRecord{};
  for (auto& code : doc.dtmf.memories) code = DtmfCodeRecord{};

  state.channelEditing.currentGroup = 0;
  state.channelEditing.captionRow = 1;
  state.channelEditing.skipConcludeOnce = false;
  state.channelEditing.skipEnterCellOnce = false;
  state.channelEditing.isEditDialogOpen = false;
  state.channelEditing.isChannelWindowOpen = false;
  doc.channelCount = 0;
  const auto& limits = state.model.limits;
  AppendChannel(doc, 1, FormatNumber((limits.low + limits.high) / 2), limits);

  for (auto& preset : doc.fmPresets) preset = FmPresetRecord{};

  doc.testFrequencies[0] = pair("43510000", "43510000");
  for (std::size_t i = 1; i < doc.testFrequencies.size(); ++i) {
    doc.testFrequencies[i] = {NulText<8>(), NulText<8>()};
  }
  state.extraTestFrequencies = DefaultExtraTestFrequencies();

  SetModelInfoFromApplication(state);

  ResetRadioInfo(state.radioInfo, state.model, today);

  state.workingSide = SideFileRecord{};
}

std::array<TestFrequencyRecord, 5> DefaultExtraTestFrequencies() {
  return {pair("40000000", "40010000"), pair("42050000", "42060000"), pair("44000000", "44010000"),
          pair("47050000", "46060000"), pair("48000000", "47990000")};
}

void ResetRadioInfo(RadioInfoRecord& info, const ModelState& model, const Today& today) {
  char batch[16];
  std::snprintf(batch, sizeof batch, "%02d-1-E-1", today.month);
  info = RadioInfoRecord{
      .bandCode = model.currentBandIndex,
      .serialNumber = {},
      .productionDate = today.shortDate,
      .repairDate = today.shortDate,
      .repairReason = {},
      .versionInformation = "V2.00",
      .model = model.currentModel,
      .salesRegionCode = "0595",
      .productionBatch = batch,
      .customerCode = "001A",
      .dealerCode = {},
      .stockInDate = today.shortDate,
      .saleDate = today.shortDate,
      .handledBy = {},
  };
}

}  // namespace cps
