// What a row of a CSV channel list asks of a channel, and the row a channel
// is written as: tones both ways, the transmit side, power, mode and skip,
// and every value the radio cannot hold.
#include "core/exchange/channel_csv.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app/text_ids.hpp"
#include "core/document/codec.hpp"
#include "core/document/records.hpp"

namespace cps {
namespace {

// A header of the columns given and one row of their values.
struct Sheet {
  CsvRecord header;
  CsvRecord row;
};
Sheet sheet(std::vector<std::pair<std::string, std::string>> cells) {
  Sheet s{{1, {}}, {2, {}}};
  for (auto& [name, value] : cells) {
    s.header.cells.push_back(name);
    s.row.cells.push_back(value);
  }
  return s;
}

std::variant<ChannelRequest, ExchangeMessage> read(
    std::vector<std::pair<std::string, std::string>> cells) {
  const Sheet s = sheet(std::move(cells));
  return ReadChannelRow(s.row, ReadCsvHeader(s.header));
}

int tone(const char* text) { return *ToneIndexOfText(text); }

// ---- Tones, both ways ----------------------------------------------------------

struct ToneCase {
  const char* name;
  int encode, decode;
  // The tone columns: Tone, rToneFreq, cToneFreq, DtcsCode, DtcsPolarity, RxDtcsCode, CrossMode.
  std::vector<std::string> columns;
};

const std::vector<std::string> kToneColumnNames{
    "Tone", "rToneFreq", "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode"};

class ToneModeTest : public ::testing::TestWithParam<ToneCase> {};

TEST_P(ToneModeTest, ReadsAsTheRadiosTones) {
  const auto& c = GetParam();
  std::vector<std::pair<std::string, std::string>> cells{{"Frequency", "435.000000"}};
  for (std::size_t i = 0; i < c.columns.size(); ++i)
    cells.emplace_back(kToneColumnNames[i], c.columns[i]);
  const auto result = read(cells);
  ASSERT_TRUE(std::holds_alternative<ChannelRequest>(result))
      << std::get<ExchangeMessage>(result).textId;
  EXPECT_EQ(std::get<ChannelRequest>(result).encodeTone, c.encode);
  EXPECT_EQ(std::get<ChannelRequest>(result).decodeTone, c.decode);
}

TEST_P(ToneModeTest, IsWrittenWithNeutralValuesInTheUnusedColumns) {
  const auto& c = GetParam();
  ChannelRecord channel;
  channel.number = 1;
  channel.rxFreq.assign("43500000");
  channel.encodeTone = static_cast<std::int16_t>(c.encode);
  channel.decodeTone = static_cast<std::int16_t>(c.decode);
  const auto fields = ChannelCsvFields(channel);
  ASSERT_TRUE(fields.has_value());
  const std::vector<std::string> written(fields->begin() + 5, fields->begin() + 12);
  EXPECT_EQ(written, c.columns);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToneModeTest,
    ::testing::Values(
        ToneCase{"None", 0, 0, {"", "88.5", "88.5", "023", "NN", "023", "Tone->Tone"}},
        ToneCase{
            "Tone", tone("100.0"), 0, {"Tone", "100.0", "88.5", "023", "NN", "023", "Tone->Tone"}},
        ToneCase{"Tsql",
                 tone("254.1"),
                 tone("254.1"),
                 {"TSQL", "88.5", "254.1", "023", "NN", "023", "Tone->Tone"}},
        ToneCase{"Dtcs",
                 tone("754N"),
                 tone("754N"),
                 {"DTCS", "88.5", "88.5", "754", "NN", "023", "Tone->Tone"}},
        ToneCase{"DtcsReversedReceive",
                 tone("017N"),
                 tone("017I"),
                 {"DTCS", "88.5", "88.5", "017", "NR", "023", "Tone->Tone"}},
        ToneCase{"DtcsReversedBoth",
                 tone("025I"),
                 tone("025I"),
                 {"DTCS", "88.5", "88.5", "025", "RR", "023", "Tone->Tone"}},
        ToneCase{"CrossToneTone",
                 tone("67.0"),
                 tone("69.3"),
                 {"Cross", "67.0", "69.3", "023", "NN", "023", "Tone->Tone"}},
        ToneCase{"CrossToneDtcs",
                 tone("88.5"),
                 tone("754I"),
                 {"Cross", "88.5", "88.5", "023", "NR", "754", "Tone->DTCS"}},
        ToneCase{"CrossDtcsTone",
                 tone("032I"),
                 tone("110.9"),
                 {"Cross", "88.5", "110.9", "032", "RN", "023", "DTCS->Tone"}},
        ToneCase{"CrossDtcsDtcs",
                 tone("023N"),
                 tone("754N"),
                 {"Cross", "88.5", "88.5", "023", "NN", "754", "DTCS->DTCS"}},
        ToneCase{"CrossNothingTone",
                 0,
                 tone("151.4"),
                 {"Cross", "88.5", "151.4", "023", "NN", "023", "->Tone"}},
        ToneCase{"CrossNothingDtcs",
                 0,
                 tone("205N"),
                 {"Cross", "88.5", "88.5", "023", "NN", "205", "->DTCS"}},
        ToneCase{"CrossDtcsNothing",
                 tone("205I"),
                 0,
                 {"Cross", "88.5", "88.5", "205", "RN", "023", "DTCS->"}}),
    [](const auto& c) { return std::string(c.param.name); });

// Forms that only other writers use: read, and written back in this program's form.
TEST(ToneModeReadOnlyTest, OtherWritersForms) {
  const auto request = [](std::vector<std::pair<std::string, std::string>> cells) {
    cells.emplace_back("Frequency", "435");
    return std::get<ChannelRequest>(read(std::move(cells)));
  };
  EXPECT_EQ(request({{"Tone", "Cross"}, {"CrossMode", "Tone->"}, {"rToneFreq", "100"}}).encodeTone,
            tone("100.0"));
  EXPECT_EQ(request({{"Tone", "tsql"}, {"cToneFreq", "88.50"}}).decodeTone, tone("88.5"));
  EXPECT_EQ(request({{"Tone", "DTCS"}, {"DtcsCode", "23"}}).decodeTone, tone("023N"));
  EXPECT_EQ(request({{"Tone", "DTCS"}, {"DtcsCode", "23"}, {"DtcsPolarity", "rr"}}).encodeTone,
            tone("023I"));
  // A column the mode does not use may hold anything.
  EXPECT_EQ(request({{"Tone", ""}, {"rToneFreq", "junk"}}).encodeTone, 0);
}

// ---- Duplex and offset --------------------------------------------------------------

struct DuplexCase {
  const char* name;
  const char* duplex;
  const char* offset;
  std::optional<std::int64_t> tx;  // 10 Hz units
  bool inhibit;
};

class DuplexTest : public ::testing::TestWithParam<DuplexCase> {};

TEST_P(DuplexTest, GivesTheTransmitSide) {
  const auto& c = GetParam();
  const auto result =
      read({{"Frequency", "446.500000"}, {"Duplex", c.duplex}, {"Offset", c.offset}});
  ASSERT_TRUE(std::holds_alternative<ChannelRequest>(result));
  const auto& r = std::get<ChannelRequest>(result);
  EXPECT_EQ(r.rx, 44650000);
  EXPECT_EQ(r.tx, c.tx);
  EXPECT_EQ(r.txInhibit, std::optional<bool>(c.inhibit));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DuplexTest,
    ::testing::Values(DuplexCase{"Simplex", "", "0.600000", 44650000, false},
                      DuplexCase{"Plus", "+", "5.000000", 45150000, false},
                      DuplexCase{"Minus", "-", "0.6", 44590000, false},
                      DuplexCase{"Split", "split", "436.025000", 43602500, false},
                      DuplexCase{"SplitAnyCase", "Split", "436.025", 43602500, false},
                      DuplexCase{"OffKeepsTheTransmitSide", "off", "0.000000", std::nullopt, true},
                      DuplexCase{"OffIgnoresAShift", "off", "5.000000", std::nullopt, true},
                      DuplexCase{"OffWithTheTransmitFrequency", "off", "441.500000", 44150000,
                                 true}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(DuplexTest, AMissingColumnKeepsTheTransmitSide) {
  const auto r = std::get<ChannelRequest>(read({{"Frequency", "446.5"}}));
  EXPECT_FALSE(r.tx.has_value());
  EXPECT_FALSE(r.txInhibit.has_value());
}

// ---- Power --------------------------------------------------------------------------

struct PowerCase {
  const char* text;
  std::optional<int> level;
};

class PowerTest : public ::testing::TestWithParam<PowerCase> {};

TEST_P(PowerTest, ByWattsOrName) { EXPECT_EQ(PowerLevelOfText(GetParam().text), GetParam().level); }

INSTANTIATE_TEST_SUITE_P(
    Cases, PowerTest,
    ::testing::Values(PowerCase{"1.0W", 0}, PowerCase{"2.5W", 1}, PowerCase{"5.0W", 2},
                      PowerCase{"0.5W", 0}, PowerCase{"4W", 2}, PowerCase{"50W", 2},
                      PowerCase{"3 W", 1}, PowerCase{"5", 2},
                      PowerCase{"1.75W", 0},  // halfway goes to the lower level
                      PowerCase{"3.75w", 1}, PowerCase{"Low", 0}, PowerCase{"mid", 1},
                      PowerCase{"MIDDLE", 1}, PowerCase{"High", 2}, PowerCase{"0W", std::nullopt},
                      PowerCase{"-5W", std::nullopt}, PowerCase{"max", std::nullopt},
                      PowerCase{"W", std::nullopt}));

TEST(PowerTest, WrittenInWatts) {
  EXPECT_EQ(PowerText(5.0), "5.0W");
  EXPECT_EQ(PowerText(2.5), "2.5W");
  EXPECT_EQ(PowerText(10.0), "10W");
  EXPECT_EQ(PowerText(25.0), "25W");
}

// ---- Mode, skip, location -------------------------------------------------------------

TEST(RowTest, ModeSkipAndLocation) {
  const auto r = std::get<ChannelRequest>(read({{"Location", "17"},
                                                {"Frequency", "435"},
                                                {"Mode", "NFM"},
                                                {"Skip", "S"},
                                                {"TStep", "12.5"}}));
  EXPECT_EQ(r.location, 17);
  EXPECT_EQ(r.narrow, true);
  EXPECT_EQ(r.scanSkip, true);
  EXPECT_EQ(
      std::get<ChannelRequest>(read({{"Frequency", "435"}, {"Mode", "fm"}, {"Skip", "P"}})).narrow,
      false);
  EXPECT_EQ(std::get<ChannelRequest>(read({{"Frequency", "435"}, {"Skip", "P"}})).scanSkip, false);
  // Empty cells of power and mode keep what the channel holds.
  const auto kept =
      std::get<ChannelRequest>(read({{"Frequency", "435"}, {"Mode", ""}, {"Power", ""}}));
  EXPECT_FALSE(kept.narrow.has_value());
  EXPECT_FALSE(kept.power.has_value());
}

// ---- Refusals --------------------------------------------------------------------------

struct RefusalCase {
  const char* name;
  std::vector<std::pair<std::string, std::string>> cells;
  ExchangeMessage why;
};

class RefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefusalTest, SaysWhy) {
  const auto result = read(GetParam().cells);
  ASSERT_TRUE(std::holds_alternative<ExchangeMessage>(result));
  EXPECT_EQ(std::get<ExchangeMessage>(result), GetParam().why);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusalTest,
    ::testing::Values(
        RefusalCase{"NoFrequency", {{"Frequency", ""}}, {text::kRowEmptyValue, {"Frequency"}}},
        RefusalCase{"FrequencyNotANumber",
                    {{"Frequency", "435,5"}},
                    {text::kRowNotNumber, {"Frequency", "435,5"}}},
        RefusalCase{"FrequencyFinerThan10Hz",
                    {{"Frequency", "435.008333"}},
                    {text::kRowTooFine, {"Frequency", "435.008333"}}},
        RefusalCase{"LocationNotANumber",
                    {{"Location", "A1"}, {"Frequency", "435"}},
                    {text::kRowNotNumber, {"Location", "A1"}}},
        RefusalCase{"ToneNotInTheList",
                    {{"Frequency", "435"}, {"Tone", "Tone"}, {"rToneFreq", "69.4"}},
                    {text::kRowToneNotInList, {"rToneFreq", "69.4"}}},
        RefusalCase{"ToneFinerThanATenth",
                    {{"Frequency", "435"}, {"Tone", "TSQL"}, {"cToneFreq", "88.52"}},
                    {text::kRowToneNotInList, {"cToneFreq", "88.52"}}},
        RefusalCase{"DcsCodeNotInTheList",
                    {{"Frequency", "435"}, {"Tone", "DTCS"}, {"DtcsCode", "024"}},
                    {text::kRowDcsNotInList, {"DtcsCode", "024"}}},
        RefusalCase{"DcsCodeNotOctal",
                    {{"Frequency", "435"}, {"Tone", "DTCS"}, {"DtcsCode", "089"}},
                    {text::kRowNotNumber, {"DtcsCode", "089"}}},
        RefusalCase{
            "PolarityNotNOrR",
            {{"Frequency", "435"}, {"Tone", "DTCS"}, {"DtcsCode", "023"}, {"DtcsPolarity", "NI"}},
            {text::kRowUnknownWord, {"DtcsPolarity", "NI", "NN, NR, RN, RR"}}},
        RefusalCase{"ToneModeUnknown",
                    {{"Frequency", "435"}, {"Tone", "TSQL-R"}},
                    {text::kRowUnknownWord, {"Tone", "TSQL-R", "\"\", Tone, TSQL, DTCS, Cross"}}},
        RefusalCase{
            "CrossModeUnknown",
            {{"Frequency", "435"}, {"Tone", "Cross"}, {"CrossMode", "Tone->DV"}},
            {text::kRowUnknownWord,
             {"CrossMode", "Tone->DV",
              "Tone->Tone, Tone->DTCS, DTCS->Tone, DTCS->DTCS, ->Tone, ->DTCS, Tone->, DTCS->"}}},
        RefusalCase{"DuplexUnknown",
                    {{"Frequency", "435"}, {"Duplex", "x"}},
                    {text::kRowUnknownWord, {"Duplex", "x", "\"\", +, -, split, off"}}},
        RefusalCase{"SplitWithoutFrequency",
                    {{"Frequency", "435"}, {"Duplex", "split"}, {"Offset", ""}},
                    {text::kRowEmptyValue, {"Offset"}}},
        RefusalCase{"OffsetNotANumber",
                    {{"Frequency", "435"}, {"Duplex", "+"}, {"Offset", "-5"}},
                    {text::kRowNotNumber, {"Offset", "-5"}}},
        RefusalCase{
            "ModeAm", {{"Frequency", "435"}, {"Mode", "AM"}}, {text::kRowModeMissing, {"AM"}}},
        RefusalCase{"ModeDigitalVoice",
                    {{"Frequency", "435"}, {"Mode", "DV"}},
                    {text::kRowModeMissing, {"DV"}}},
        RefusalCase{"ModeWideBroadcast",
                    {{"Frequency", "435"}, {"Mode", "WFM"}},
                    {text::kRowModeMissing, {"WFM"}}},
        RefusalCase{"PowerUnknown",
                    {{"Frequency", "435"}, {"Power", "max"}},
                    {text::kRowPowerUnknown, {"max"}}},
        RefusalCase{"SkipUnknown",
                    {{"Frequency", "435"}, {"Skip", "yes"}},
                    {text::kRowUnknownWord, {"Skip", "yes", "\"\", S, P"}}},
        RefusalCase{"StepNotANumber",
                    {{"Frequency", "435"}, {"TStep", "fine"}},
                    {text::kRowNotNumber, {"TStep", "fine"}}}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(RefusalTest, CellsBeyondTheHeaderMustBeEmpty) {
  const CsvHeader header = ReadCsvHeader({1, {"Frequency"}});
  EXPECT_TRUE(
      std::holds_alternative<ChannelRequest>(ReadChannelRow({2, {"435", "", " "}}, header)));
  EXPECT_EQ(std::get<ExchangeMessage>(ReadChannelRow({2, {"435", "x"}}, header)),
            (ExchangeMessage{text::kRowTooManyCells, {"2", "1"}}));
}

// ---- Header ---------------------------------------------------------------------------

TEST(HeaderTest, ColumnsByNameInAnyOrderAndCase) {
  const CsvHeader header =
      ReadCsvHeader({3, {"Skip", "frequency", " Extra ", "Frequency", "LOCATION"}});
  EXPECT_EQ(header.line, 3);
  EXPECT_EQ(header.cellOf[static_cast<std::size_t>(CsvColumn::Frequency)], 1u);
  EXPECT_EQ(header.cellOf[static_cast<std::size_t>(CsvColumn::Location)], 4u);
  EXPECT_EQ(header.cellOf[static_cast<std::size_t>(CsvColumn::Skip)], 0u);
  EXPECT_FALSE(header.has(CsvColumn::Duplex));
  EXPECT_EQ(header.unknownColumns, (std::vector<std::string>{"Extra", "Frequency"}));
}

// ---- A whole channel written --------------------------------------------------------------

TEST(ExportTest, FullHeaderAndChannelsInNumberOrder) {
  DocumentRecord doc;
  ChannelRecord a;
  a.number = 9;
  a.rxFreq.assign("44650000");
  a.offsetDirection = 1;
  a.offset.assign("0060000");
  a.encodeTone = static_cast<std::int16_t>(tone("100.0"));
  a.power = 0;
  a.spacing = 0;
  a.rxStepKind = 1;
  a.scanSkip = 1;
  ChannelRecord b;
  b.number = 2;
  b.rxFreq.assign("43512500");
  b.offset.assign("0500000");  // a simplex channel may keep an offset; it is not written
  b.power = 1;
  b.spacing = 1;  // 20 kHz is written as FM
  ChannelRecord inhibited;
  inhibited.number = 3;
  inhibited.rxFreq.assign("43000000");
  inhibited.offsetDirection = 2;
  inhibited.offset.assign("1000000");
  inhibited.txInhibit = 1;
  inhibited.power = 3;  // shown as Low by the table
  inhibited.spacing = 2;
  ChannelRecord noFrequency;
  noFrequency.number = 1;
  noFrequency.rxFreq.assign(std::string(kNoFrequency));
  doc.channels[0] = a;
  doc.channels[1] = b;
  doc.channels[2] = inhibited;
  doc.channels[3] = noFrequency;
  doc.channelCount = 4;

  const CsvExport out = ExportChannelsCsv(doc);
  EXPECT_EQ(
      out.text,
      "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
      "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n"
      "2,,435.125000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,2.5W,,,,,\r\n"
      "3,,430.000000,off,440.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,1.0W,,,,,\r\n"
      "9,,446.500000,-,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,NFM,6.25,S,1.0W,,,,,\r\n");
  EXPECT_EQ(out.written, 3);
  EXPECT_EQ(out.unwritten, std::vector<int>{1});
}

// ---- Exact numbers ---------------------------------------------------------------------------

TEST(DecimalUnitsTest, NothingLostOrRounded) {
  using S = DecimalUnits::Status;
  const auto units = [](const char* text, int decimals) {
    return ParseDecimalUnits(text, decimals);
  };
  EXPECT_EQ(units("435.125", 5).units, 43512500);
  EXPECT_EQ(units(" 435.12500000 ", 5).units, 43512500);
  EXPECT_EQ(units("435", 5).units, 43500000);
  EXPECT_EQ(units(".5", 5).units, 50000);
  EXPECT_EQ(units("+1.", 1).units, 10);
  EXPECT_EQ(units("435.123451", 5).status, S::TooFine);
  for (const char* bad : {"", ".", "1e3", "4 35", "-1", "0x10", "1234567890"}) {
    EXPECT_EQ(units(bad, 5).status, S::NotNumber) << bad;
  }
  EXPECT_EQ(UnitsText(43512500, 5), "435.12500");
  EXPECT_EQ(UnitsText(7, 6), "0.000007");
  EXPECT_EQ(UnitsText(-60000, 5), "-0.60000");
}

TEST(FillTextTest, NumberedPlaces) {
  EXPECT_EQ(FillText("line %1: %2", {"7", "why"}), "line 7: why");
  EXPECT_EQ(FillText("100% %3", {"a"}), "100% ");
}

}  // namespace
}  // namespace cps
