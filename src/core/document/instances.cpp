#include "core/document/instances.hpp"

#include <algorithm>
#include <string_view>

#include "core/document/channel_list.hpp"
#include "core/document/codec.hpp"
#include "core/run_state.hpp"

namespace cps {

namespace {

template <std::size_t N>
bool sameTrimmed(const FixedText<N>& a, const FixedText<N>& b) {
  return TrimFixed(a) == TrimFixed(b);
}

bool sameChannel(const ChannelRecord& w, const ChannelRecord& s) {
  return w.number == s.number && w.reserved == s.reserved && w.rxFreq == s.rxFreq &&
         w.offsetDirection == s.offsetDirection && sameTrimmed(w.offset, s.offset) &&
         w.decodeTone == s.decodeTone && w.encodeTone == s.encodeTone &&
         w.rxStepKind == s.rxStepKind && w.txStepKind == s.txStepKind &&
         w.txInhibit == s.txInhibit && w.scramblerTalkaround == s.scramblerTalkaround &&
         w.voiceEncryption == s.voiceEncryption && w.busyLockout == s.busyLockout &&
         w.talkaround == s.talkaround && w.signallingRelation == s.signallingRelation &&
         w.whisper == s.whisper && w.pttId == s.pttId && w.spacing == s.spacing &&
         w.optionalSignalling == s.optionalSignalling && w.compander == s.compander &&
         w.scrambler == s.scrambler && w.power == s.power && w.autodial1 == s.autodial1 &&
         w.autodial2 == s.autodial2 && w.scanSkip == s.scanSkip;
}

// Entries keep the order in which they were added, so the same channels in
// another order are the same document.
bool sameChannelList(const DocumentRecord& working, const DocumentRecord& saved) {
  if (working.channelCount != saved.channelCount) return false;
  const auto w = working.usedChannels();
  const auto s = saved.usedChannels();
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (sameChannel(w[i], s[i])) continue;
    const int j = FindChannelIndex(working, s[i].number);
    if (j < 0 || !sameChannel(w[static_cast<std::size_t>(j)], s[i])) return false;
  }
  return true;
}

bool sameCode(const DtmfCodeRecord& a, const DtmfCodeRecord& b) {
  return a.length == b.length && sameTrimmed(a.digits, b.digits);
}

// The ID code counts only as far as its own length.
std::string_view significantId(const DtmfBlock& d) {
  const auto length = static_cast<std::size_t>(std::clamp<int>(d.idLength, 0, 10));
  return std::string_view(d.idCode.bytes.data(), length);
}

bool sameDtmf(const DtmfBlock& w, const DtmfBlock& s) {
  return w.settings == s.settings && w.idLength == s.idLength &&
         significantId(w) == significantId(s) &&
         std::equal(w.specialCodes.begin(), w.specialCodes.end(), s.specialCodes.begin(),
                    sameCode) &&
         std::equal(w.memories.begin(), w.memories.end(), s.memories.begin(), sameCode);
}

}  // namespace

void CopyImageToWorking(RunState& state) {
  state.workingSide = state.savedSide;
  state.workingDocument = state.savedImage;
  const auto& info = state.workingDocument.modelInfo;
  state.model.currentModel = TrimFixed(info.modelName);
  state.model.selectBandIndex(info.bandIndex);
}

void CopyWorkingToImage(RunState& state) {
  state.savedSide = state.workingSide;
  SetModelInfoFromApplication(state);
  state.savedImage = state.workingDocument;
}

void ImportKeepingModel(RunState& state) {
  state.workingSide = state.savedSide;
  state.workingDocument = state.savedImage;
  SetModelInfoFromApplication(state);
  state.savedImage = state.workingDocument;
}

void ImportPresetBlocks(RunState& state) {
  state.savedSide = state.workingSide;
  SetModelInfoFromApplication(state);
  state.workingDocument.optionalFeatures = state.savedImage.optionalFeatures;
  state.workingDocument.fmPresets = state.savedImage.fmPresets;
  state.workingDocument.testFrequencies = state.savedImage.testFrequencies;
}

void SetModelInfoFromApplication(RunState& state) {
  state.workingDocument.modelInfo.modelName.assign(state.model.currentModel);
  state.workingDocument.modelInfo.bandIndex =
      static_cast<std::int16_t>(BandIndexOfLabel(state.model.currentBandLabel));
}

bool IsDocumentChanged(const RunState& state) {
  return IsDocumentChanged(state.workingDocument, state.savedImage, state.workingSide,
                           state.savedSide);
}

bool IsDocumentChanged(const DocumentRecord& working, const DocumentRecord& saved,
                       const SideFileRecord& workingSide, const SideFileRecord& savedSide) {
  const bool same =
      sameChannelList(working, saved) && working.modelInfo == saved.modelInfo &&
      std::equal(working.message.lines.begin(), working.message.lines.end(),
                 saved.message.lines.begin(), sameTrimmed<16>) &&
      working.keys == saved.keys && working.scan == saved.scan && working.alert == saved.alert &&
      sameTrimmed(workingSide.version, savedSide.version) &&
      workingSide.alarmMode == savedSide.alarmMode &&
      working.optionalFeatures == saved.optionalFeatures &&
      std::equal(working.testFrequencies.begin(), working.testFrequencies.end(),
                 saved.testFrequencies.begin(),
                 [](const TestFrequencyRecord& a, const TestFrequencyRecord& b) {
                   return sameTrimmed(a.first, b.first) && sameTrimmed(a.second, b.second);
                 }) &&
      sameDtmf(working.dtmf, saved.dtmf);
  return !same;
}

}  // namespace cps
