#include "core/exchange/channel_import.hpp"

#include <algorithm>
#include <array>

#include "core/app/text_ids.hpp"
#include "core/channels/channel_commands.hpp"
#include "core/document/codec.hpp"
#include "core/document/edit_history.hpp"
#include "core/exchange/quiet_prompter.hpp"
#include "core/run_state.hpp"

namespace cps {

namespace {

ExchangeMessage message(int textId, std::vector<std::string> args = {}) {
  return {textId, std::move(args)};
}

// A list speaks of transmit frequencies; the table takes a signed offset
// instead while the offset habit is on. The import turns the habit off for
// its own edits and puts it back.
class FrequencyModeForImport {
 public:
  explicit FrequencyModeForImport(HabitRecord& habits)
      : m_habits(habits), m_offsetMode(habits.offsetMode) {
    m_habits.offsetMode = false;
  }
  ~FrequencyModeForImport() { m_habits.offsetMode = m_offsetMode; }
  FrequencyModeForImport(const FrequencyModeForImport&) = delete;
  FrequencyModeForImport& operator=(const FrequencyModeForImport&) = delete;

 private:
  HabitRecord& m_habits;
  bool m_offsetMode;
};

// Receive and transmit frequency of a channel in 10 Hz units, read through
// the codec as the table shows them.
struct ChannelFrequencies {
  std::int64_t rx = 0;
  std::int64_t tx = 0;
};
ChannelFrequencies frequenciesOf(const ChannelRecord& c, const BandLimits& limits) {
  QuietPrompter quiet;
  const CodecContext codec{limits, quiet};
  const auto units = [](const std::string& mhz) {
    const DecimalUnits u = ParseDecimalUnits(mhz, 5);
    return u.status == DecimalUnits::Status::Ok ? u.units : -1;
  };
  return {units(FreqStoredToText(c.rxFreq.raw(), codec)),
          units(TxColumnText(c.rxFreq.raw(), c.offset.raw(), c.offsetDirection, false, codec))};
}

const ChannelRecord* channelOf(const RunState& state, int number) {
  const int index = FindChannelIndex(state.workingDocument, number);
  return index < 0 ? nullptr : &state.workingDocument.channels[static_cast<std::size_t>(index)];
}

// The stored value for a list field: what the channel holds when its list
// already shows the item asked for (a power of 3 shows as Low, 20 kHz is as
// wide as 25 kHz), else the item's own value.
int keptOrAsked(ChannelField field, const ChannelRecord* existing, int asked,
                std::initializer_list<int> sameItems) {
  if (existing == nullptr) return asked;
  const ChannelFieldRow* row = FindChannelField(static_cast<int>(field));
  const int held = existing->*row->member;
  const auto items = static_cast<int>(row->itemTextIds.size());
  const int shown = held >= 0 && held < items ? held : 0;
  return std::find(sameItems.begin(), sameItems.end(), shown) != sameItems.end() ? held : asked;
}

constexpr int kSpacingNarrow = 0;  // 12.5 kHz
constexpr int kSpacing20 = 1;
constexpr int kSpacingWide = 2;  // 25 kHz

// Makes channel `number` what the row asks, through the channel table's own
// edits, or says why the radio cannot hold it. On a refusal the channel may be
// half changed: the caller puts the document back.
std::optional<ExchangeMessage> applyRequest(RunState& state, const Effects& effects, int number,
                                            const ChannelRequest& r) {
  const int group = GroupOfChannel(number) - 1;
  const int position = PositionOfChannel(number);
  const auto edit = [&](ChannelField field,
                        const std::string& value) -> std::optional<ExchangeMessage> {
    const EditOutcome outcome =
        ApplyChannelEdit(state, effects, group, position, static_cast<int>(field), value);
    if (outcome.status == EditStatus::Refused) {
      if (outcome.failure.textId != 0) {
        return message(outcome.failure.textId, outcome.failure.arguments);
      }
      return message(text::kRowRadioRefused, {outcome.failure.detail});
    }
    return std::nullopt;
  };
  const std::string band = state.model.currentBandLabel;
  // The band check of the table itself: a value it would clamp is outside.
  const auto outside = [&](std::int64_t units, int textId) -> std::optional<ExchangeMessage> {
    QuietPrompter quiet;
    const std::string mhz = MhzText(units);
    if (FormatFreqInBand(mhz, {state.model.limits, quiet}) == mhz) return std::nullopt;
    return message(textId, {mhz, band});
  };
  if (auto m = outside(r.rx, text::kRxOutOfBand)) return m;
  if (r.tx) {
    if (auto m = outside(*r.tx, text::kTxOutOfBand)) return m;
  }

  const ChannelRecord before =
      channelOf(state, number) ? *channelOf(state, number) : ChannelRecord{};
  const bool existed = channelOf(state, number) != nullptr;

  if (auto m = edit(ChannelField::Receive, MhzText(r.rx))) return m;
  const ChannelRecord* channel = channelOf(state, number);
  if (channel == nullptr) return message(text::kRowNoFreeChannel);
  if (const auto held = frequenciesOf(*channel, state.model.limits).rx; held != r.rx) {
    return message(text::kRxOffGrid, {MhzText(r.rx), MhzText(held)});
  }
  if (r.tx) {
    if (auto m = edit(ChannelField::Transmit, MhzText(*r.tx))) return m;
    channel = channelOf(state, number);
    const auto held = frequenciesOf(*channel, state.model.limits);
    if (held.tx != *r.tx) return message(text::kTxOffGrid, {MhzText(*r.tx), MhzText(held.tx)});
    if (held.rx != r.rx) return message(text::kRxOffGrid, {MhzText(r.rx), MhzText(held.rx)});
  }

  if (r.decodeTone && r.encodeTone) {
    // A first tone on a channel without tones goes to both sides; setting
    // the receive side again after the transmit side undoes that.
    const std::string decode = std::to_string(*r.decodeTone);
    for (const auto& [field, value] : std::array<std::pair<ChannelField, std::string>, 3>{
             {{ChannelField::DecodeTone, decode},
              {ChannelField::EncodeTone, std::to_string(*r.encodeTone)},
              {ChannelField::DecodeTone, decode}}}) {
      if (auto m = edit(field, value)) return m;
    }
  }

  struct Number {
    ChannelField field;
    std::optional<int> value;
  };
  const ChannelRecord* held = existed ? &before : nullptr;
  const std::array<Number, 4> numbers{{
      {ChannelField::Power,
       r.power ? std::optional<int>(keptOrAsked(ChannelField::Power, held, *r.power, {*r.power}))
               : std::nullopt},
      {ChannelField::Spacing,
       r.narrow
           ? std::optional<int>(*r.narrow ? keptOrAsked(ChannelField::Spacing, held, kSpacingNarrow,
                                                        {kSpacingNarrow})
                                          : keptOrAsked(ChannelField::Spacing, held, kSpacingWide,
                                                        {kSpacing20, kSpacingWide}))
           : std::nullopt},
      {ChannelField::ScanSkip, r.scanSkip ? std::optional<int>(*r.scanSkip ? 1 : 0) : std::nullopt},
      {ChannelField::TxInhibit,
       r.txInhibit ? std::optional<int>(*r.txInhibit ? 1 : 0) : std::nullopt},
  }};
  for (const auto& n : numbers) {
    if (!n.value) continue;
    if (auto m = edit(n.field, std::to_string(*n.value))) return m;
  }

  // Whatever the rules did on the way, the channel must end as the row asked.
  channel = channelOf(state, number);
  const auto check = [&](ChannelField field,
                         std::optional<int> asked) -> std::optional<ExchangeMessage> {
    const ChannelFieldRow* row = FindChannelField(static_cast<int>(field));
    if (asked && channel->*row->member != *asked) {
      return message(text::kRowChangedByRules, {std::string(row->name)});
    }
    return std::nullopt;
  };
  if (auto m = check(ChannelField::DecodeTone, r.decodeTone)) return m;
  if (auto m = check(ChannelField::EncodeTone, r.encodeTone)) return m;
  for (const auto& n : numbers) {
    if (auto m = check(n.field, n.value)) return m;
  }
  return std::nullopt;
}

// Empties the channel list with the channel commands' own removal.
void clearChannelList(RunState& state, const Effects& effects) {
  auto& doc = state.workingDocument;
  while (doc.usedCount() > 0) {
    const int number = doc.channels[0].number;
    if (number >= 1 && number <= static_cast<int>(kMaxChannels)) {
      ClearChannelSlot(state, effects, {PositionOfChannel(number), GroupOfChannel(number) - 1});
    } else {
      RemoveChannelAt(doc, 0);
    }
  }
}

}  // namespace

int ImportPlan::importedCount() const {
  return static_cast<int>(
      std::count_if(rows.begin(), rows.end(), [](const ImportRow& r) { return r.imported(); }));
}

int ImportPlan::skippedCount() const { return static_cast<int>(rows.size()) - importedCount(); }

ImportPlan PlanChannelImport(const RunState& state, std::string_view csv, ImportOptions options) {
  ImportPlan plan;
  plan.options = options;
  plan.before = state.workingDocument;
  plan.after = state.workingDocument;
  if (csv.size() > kMaxChannelListBytes) {
    plan.refusal = message(text::kCsvTooLarge, {std::to_string(kMaxChannelListBytes >> 20)});
    return plan;
  }
  const CsvText parsed = ParseCsvText(csv);
  if (parsed.error) {
    plan.refusal =
        message(parsed.error->kind == CsvTextError::Kind::NotUtf8 ? text::kCsvNotUtf8
                                                                  : text::kCsvUnclosedQuote,
                {std::to_string(parsed.error->line)});
    return plan;
  }
  if (parsed.records.empty()) {
    plan.refusal = message(text::kCsvNoHeader);
    return plan;
  }
  const CsvHeader header = ReadCsvHeader(parsed.records.front());
  if (!header.has(CsvColumn::Frequency)) {
    plan.refusal = message(text::kCsvNoHeader);
    return plan;
  }
  plan.unknownColumns = header.unknownColumns;

  // The trial: the same edits on a copy of the document, with nothing shown.
  RunState trial;
  trial.model = state.model;
  trial.workingDocument = state.workingDocument;
  trial.workingSide = state.workingSide;
  QuietPrompter quiet;
  NullObserver nobody;
  const Effects effects{quiet, nobody};
  if (options.replace) clearChannelList(trial, effects);

  // Numbers the rows may take, lowest first, and who took each.
  std::array<int, kMaxChannels + 1> takenBy{};
  std::vector<int> freeNumbers;
  for (int n = 1; n <= static_cast<int>(kMaxChannels); ++n) {
    if (options.replace || FindChannelIndex(plan.before, n) < 0) freeNumbers.push_back(n);
  }
  std::size_t nextFree = 0;

  std::vector<bool> unheld(kCsvColumnCount, false);
  for (std::size_t i = 1; i < parsed.records.size(); ++i) {
    const CsvRecord& record = parsed.records[i];
    ImportRow row;
    row.line = record.line;
    row.location = std::string(CsvCell(record, header, CsvColumn::Location));
    row.rx = std::string(CsvCell(record, header, CsvColumn::Frequency));
    for (CsvColumn c : UnheldColumnsUsed(record, header))
      unheld[static_cast<std::size_t>(c)] = true;

    auto read = ReadChannelRow(record, header);
    if (auto* why = std::get_if<ExchangeMessage>(&read)) {
      row.skip = *why;
      plan.rows.push_back(std::move(row));
      continue;
    }
    row.request = std::get<ChannelRequest>(read);

    int number = 0;
    if (options.renumber) {
      if (nextFree >= freeNumbers.size()) {
        row.skip = message(text::kRowNoFreeChannel);
      } else {
        number = freeNumbers[nextFree];
      }
    } else if (!row.request.location) {
      row.skip = message(text::kRowEmptyValue, {"Location"});
    } else if (*row.request.location < 1 ||
               *row.request.location > static_cast<int>(kMaxChannels)) {
      row.skip = message(text::kRowLocationRange, {row.location});
    } else if (const int earlier = takenBy[static_cast<std::size_t>(*row.request.location)];
               earlier != 0) {
      row.skip = message(text::kRowLocationTaken,
                         {std::to_string(*row.request.location), std::to_string(earlier)});
    } else {
      number = *row.request.location;
    }
    if (row.skip) {
      plan.rows.push_back(std::move(row));
      continue;
    }

    const DocumentRecord undo = trial.workingDocument;
    if (auto why = applyRequest(trial, effects, number, row.request)) {
      trial.workingDocument = undo;
      row.skip = std::move(why);
    } else {
      row.channel = number;
      row.replacesChannel = !options.replace && FindChannelIndex(plan.before, number) >= 0;
      takenBy[static_cast<std::size_t>(number)] = row.line;
      if (options.renumber) ++nextFree;
      const ChannelRecord* channel = channelOf(trial, number);
      const auto held = frequenciesOf(*channel, trial.model.limits);
      row.rx = MhzText(held.rx);
      row.tx = MhzText(held.tx);
    }
    plan.rows.push_back(std::move(row));
  }
  for (std::size_t c = 0; c < kCsvColumnCount; ++c) {
    if (unheld[c]) plan.unheldColumns.emplace_back(kCsvColumnNames[c]);
  }
  RevalidateChannelRefs(trial.workingDocument, nobody);
  plan.after = trial.workingDocument;
  return plan;
}

ImportResult ApplyChannelImport(RunState& state, const Effects& effects, const ImportPlan& plan) {
  if (!plan.usable()) return {false, message(text::kImportNothing)};
  if (!(state.workingDocument == plan.before)) {
    return {false, message(text::kImportDocumentChanged)};
  }
  HistoryStep step(state);
  FrequencyModeForImport frequencies(state.habits);
  // Every row was proven on the trial: nothing is left to warn about.
  QuietPrompter quiet;
  const Effects quietEffects{quiet, effects.observer};
  if (plan.options.replace) clearChannelList(state, quietEffects);
  for (const auto& row : plan.rows) {
    if (row.imported()) applyRequest(state, quietEffects, row.channel, row.request);
  }
  RevalidateChannelRefs(state.workingDocument, effects.observer);
  if (!(state.workingDocument == plan.after)) {
    // The same edits gave something else than on the trial: the user saw a
    // preview of another result, so nothing of it stays.
    state.workingDocument = plan.before;
    return {false, message(text::kImportDocumentChanged)};
  }
  RefreshAllChannelViews(state, effects.observer);
  return {true, std::nullopt};
}

}  // namespace cps
