#include "core/document/records.hpp"

#include <algorithm>

namespace cps {

namespace {

template <typename T, std::size_t N>
void writeAll(ByteWriter& w, const std::array<T, N>& items) {
  for (const auto& item : items) item.write(w);
}

template <typename T, std::size_t N>
void readAll(ByteReader& r, std::array<T, N>& items) {
  for (auto& item : items) item = T::read(r);
}

template <std::size_t N>
void writeInts(ByteWriter& w, const std::array<std::int16_t, N>& values) {
  for (auto v : values) w.i16(v);
}

template <std::size_t N>
void readInts(ByteReader& r, std::array<std::int16_t, N>& values) {
  for (auto& v : values) v = r.i16();
}

template <std::size_t N>
void writeBytes(ByteWriter& w, const std::array<std::uint8_t, N>& values) {
  for (auto v : values) w.u8(v);
}

template <std::size_t N>
void readBytes(ByteReader& r, std::array<std::uint8_t, N>& values) {
  for (auto& v : values) v = r.u8();
}

}  // namespace

void ChannelRecord::write(ByteWriter& w) const {
  w.i16(number);
  w.i16(reserved);
  w.text(rxFreq);
  w.u8(offsetDirection);
  w.text(offset);
  for (auto v : {decodeTone, encodeTone,          rxStepKind,      txStepKind,
                 txInhibit,  scramblerTalkaround, voiceEncryption, busyLockout,
                 talkaround, signallingRelation,  whisper,         pttId,
                 spacing,    optionalSignalling,  compander,       scrambler,
                 power,      autodial1,           autodial2,       scanSkip}) {
    w.i16(v);
  }
}

ChannelRecord ChannelRecord::read(ByteReader& r) {
  ChannelRecord c;
  c.number = r.i16();
  c.reserved = r.i16();
  c.rxFreq = r.text<8>();
  c.offsetDirection = r.u8();
  c.offset = r.text<7>();
  for (auto* v : {&c.decodeTone, &c.encodeTone,          &c.rxStepKind,      &c.txStepKind,
                  &c.txInhibit,  &c.scramblerTalkaround, &c.voiceEncryption, &c.busyLockout,
                  &c.talkaround, &c.signallingRelation,  &c.whisper,         &c.pttId,
                  &c.spacing,    &c.optionalSignalling,  &c.compander,       &c.scrambler,
                  &c.power,      &c.autodial1,           &c.autodial2,       &c.scanSkip}) {
    *v = r.i16();
  }
  return c;
}

void FmPresetRecord::write(ByteWriter& w) const {
  w.i16(empty);
  w.text(frequency);
}

FmPresetRecord FmPresetRecord::read(ByteReader& r) {
  FmPresetRecord p;
  p.empty = r.i16();
  p.frequency = r.text<8>();
  return p;
}

void TestFrequencyRecord::write(ByteWriter& w) const {
  w.text(first);
  w.text(second);
}

TestFrequencyRecord TestFrequencyRecord::read(ByteReader& r) {
  TestFrequencyRecord t;
  t.first = r.text<8>();
  t.second = r.text<8>();
  return t;
}

void ModelInfoRecord::write(ByteWriter& w) const {
  w.text(modelName);
  w.i16(bandIndex);
}

ModelInfoRecord ModelInfoRecord::read(ByteReader& r) {
  ModelInfoRecord m;
  m.modelName = r.text<7>();
  m.bandIndex = r.i16();
  return m;
}

void OptionalFeaturesBlock::write(ByteWriter& w) const { writeInts(w, values); }

OptionalFeaturesBlock OptionalFeaturesBlock::read(ByteReader& r) {
  OptionalFeaturesBlock b;
  readInts(r, b.values);
  return b;
}

void DtmfCodeRecord::write(ByteWriter& w) const {
  w.i16(length);
  w.text(digits);
}

DtmfCodeRecord DtmfCodeRecord::read(ByteReader& r) {
  DtmfCodeRecord c;
  c.length = r.i16();
  c.digits = r.text<16>();
  return c;
}

void DtmfBlock::write(ByteWriter& w) const {
  writeInts(w, settings);
  w.text(idCode);
  w.i16(idLength);
  writeAll(w, specialCodes);
  writeAll(w, memories);
}

DtmfBlock DtmfBlock::read(ByteReader& r) {
  DtmfBlock b;
  readInts(r, b.settings);
  b.idCode = r.text<10>();
  b.idLength = r.i16();
  readAll(r, b.specialCodes);
  readAll(r, b.memories);
  return b;
}

void EmbeddedMessageBlock::write(ByteWriter& w) const {
  for (const auto& line : lines) w.text(line);
}

EmbeddedMessageBlock EmbeddedMessageBlock::read(ByteReader& r) {
  EmbeddedMessageBlock b;
  for (auto& line : b.lines) line = r.text<16>();
  return b;
}

void KeyBlock::write(ByteWriter& w) const { writeInts(w, values); }

KeyBlock KeyBlock::read(ByteReader& r) {
  KeyBlock b;
  readInts(r, b.values);
  return b;
}

void AlertBlock::write(ByteWriter& w) const { writeBytes(w, bytes); }

AlertBlock AlertBlock::read(ByteReader& r) {
  AlertBlock b;
  readBytes(r, b.bytes);
  return b;
}

void ScanBlock::write(ByteWriter& w) const { writeBytes(w, bytes); }

ScanBlock ScanBlock::read(ByteReader& r) {
  ScanBlock b;
  readBytes(r, b.bytes);
  return b;
}

DocumentRecord::Image DocumentRecord::toBytes() const {
  Image image{};
  ByteWriter w(image);
  w.text(version);
  w.i16(channelCount);
  writeAll(w, channels);
  writeAll(w, fmPresets);
  writeAll(w, testFrequencies);
  modelInfo.write(w);
  optionalFeatures.write(w);
  dtmf.write(w);
  message.write(w);
  keys.write(w);
  alert.write(w);
  scan.write(w);
  return image;
}

std::optional<DocumentRecord> DocumentRecord::fromBytes(Bytes image) {
  if (image.size() != kSize) return std::nullopt;
  DocumentRecord d;
  ByteReader r(image);
  d.version = r.text<4>();
  d.channelCount = r.i16();
  readAll(r, d.channels);
  readAll(r, d.fmPresets);
  readAll(r, d.testFrequencies);
  d.modelInfo = ModelInfoRecord::read(r);
  d.optionalFeatures = OptionalFeaturesBlock::read(r);
  d.dtmf = DtmfBlock::read(r);
  d.message = EmbeddedMessageBlock::read(r);
  d.keys = KeyBlock::read(r);
  d.alert = AlertBlock::read(r);
  d.scan = ScanBlock::read(r);
  return d;
}

int DocumentRecord::usedCount() const {
  return std::clamp<int>(channelCount, 0, static_cast<int>(kMaxChannels));
}

std::span<ChannelRecord> DocumentRecord::usedChannels() {
  return std::span(channels).first(static_cast<std::size_t>(usedCount()));
}

std::span<const ChannelRecord> DocumentRecord::usedChannels() const {
  return std::span(channels).first(static_cast<std::size_t>(usedCount()));
}

SideFileRecord::Image SideFileRecord::toBytes() const {
  Image image{};
  ByteWriter w(image);
  w.text(version);
  w.u8(alarmMode);
  return image;
}

std::optional<SideFileRecord> SideFileRecord::fromBytes(Bytes image) {
  if (image.size() != kSize) return std::nullopt;
  SideFileRecord s;
  ByteReader r(image);
  s.version = r.text<4>();
  s.alarmMode = r.u8();
  return s;
}

}  // namespace cps
