#include "core/app/text_table.hpp"

#include <array>

#include "core/document/file_io.hpp"

namespace cps {

namespace {

struct SectionRange {
  int first;
  std::string_view name;
};

// Each range runs up to the next one's first id.
constexpr std::array<SectionRange, 22> kSections{{
    {0, "OTHER"},      {9000, "Msg"},     {10000, "Menu"},        {11000, "ToolBar"},
    {12000, "Main"},   {13000, "Model"},  {14000, "ChannelInfo"}, {15000, "ChannelEdit"},
    {16000, "Option"}, {17000, "Radio"},  {18000, "DTMF"},        {19000, "TestFre"},
    {20000, "EMG"},    {21000, "Local"},  {22000, "Port"},        {23000, "Lang"},
    {24000, "About"},  {25000, "KeySet"}, {26000, "ScanSet"},     {27000, "AlertSet"},
    {28000, "CHEdit"}, {29000, "Others"},
}};

constexpr std::size_t kMaxLanguageFile = 4 * 1024 * 1024;

}  // namespace

std::string_view SectionOfTextId(int id) {
  std::string_view name = kSections.front().name;
  for (const auto& range : kSections) {
    if (id >= range.first) name = range.name;
  }
  return name;
}

std::string_view LanguageFileName(int language) {
  return language == kChinese ? "chinese.ini" : "english.ini";
}

void TextTable::setFile(std::filesystem::path file) {
  m_file = std::move(file);
  m_loaded = false;
}

TextTable::Stamp TextTable::currentStamp() const {
  std::error_code ec;
  Stamp stamp;
  stamp.size = std::filesystem::file_size(m_file, ec);
  if (ec) return {};
  stamp.time = std::filesystem::last_write_time(m_file, ec);
  if (ec) return {};
  stamp.exists = true;
  return stamp;
}

void TextTable::reloadIfChanged() {
  const Stamp stamp = currentStamp();
  if (m_loaded && stamp == m_stamp) return;
  m_stamp = stamp;
  m_loaded = true;
  m_text = IniText{};
  if (!stamp.exists) return;
  const auto bytes = ReadWholeFile(m_file, kMaxLanguageFile);
  if (bytes.ok()) {
    m_text = IniText(
        std::string_view(reinterpret_cast<const char*>(bytes.bytes.data()), bytes.bytes.size()));
  }
}

std::string TextTable::LangText(int id) {
  reloadIfChanged();
  const auto value = m_text.value(SectionOfTextId(id), std::to_string(id));
  return value ? FitProfileValue(*value, kTextBuffer) : std::string();
}

}  // namespace cps
