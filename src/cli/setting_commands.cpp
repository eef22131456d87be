#include "cli/setting_commands.hpp"

#include <array>
#include <filesystem>

#include "cli/session.hpp"
#include "core/app/text_ids.hpp"
#include "core/app/utf8.hpp"
#include "core/settings/setting_fields.hpp"
#include "core/settings/setting_values.hpp"

namespace cps::cli {

namespace {

int refuse(Streams io, const std::string& what) {
  io.err << "cps530-cli: " << what << '\n';
  return kExitRefused;
}

// The list texts of get and set are always the English windows' texts, so
// that a script reads and writes the same words whatever language the
// messages are in.
class EnglishTexts {
 public:
  explicit EnglishTexts(const ProgramFolders& folders)
      : m_texts(folders.languageFolder() / std::string(LanguageFileName(kEnglish))) {}

  bool present() const {
    std::error_code ec;
    return std::filesystem::is_regular_file(m_texts.file(), ec);
  }
  std::string missing() const {
    return "the English language file " + m_texts.file().string() +
           " is missing; get and set take the list texts from it";
  }
  TextOf textOf() {
    return [this](int id) { return m_texts.LangText(id); };
  }

 private:
  TextTable m_texts;
};

int unknownSetting(const std::string& name, const Environment& env) {
  env.io.err << "cps530-cli: \"" << name << "\" " << CliText(env, text::kCliUnknownSetting) << '\n';
  return kExitUsage;
}

bool isPlainByte(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("._-+:/,=@%").find(static_cast<char>(c)) != std::string_view::npos;
}

std::string hexByte(unsigned char c) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  return std::string("\\x") + kDigits[c >> 4] + kDigits[c & 0x0F];
}

// Each name, then its values after two blanks, wrapped below the name.
std::string helpLine(std::string_view name, const std::string& values) {
  constexpr std::size_t kWidth = 100;
  constexpr std::string_view kIndent = "      ";
  std::string out = "  " + std::string(name) + "  ";
  std::size_t column = out.size();
  bool wordsOnLine = false;
  std::size_t start = 0;
  while (start < values.size()) {
    std::size_t end = values.find(", ", start);
    end = end == std::string::npos ? values.size() : end + 2;
    const std::string_view word(values.data() + start, end - start);
    if (wordsOnLine && column + word.size() > kWidth) {
      while (out.back() == ' ') out.pop_back();
      out += "\n" + std::string(kIndent);
      column = kIndent.size();
    }
    out += word;
    column += word.size();
    wordsOnLine = true;
    start = end;
  }
  return out + "\n";
}

}  // namespace

std::string ShellWord(std::string_view value) {
  if (value.empty()) return "''";
  bool plain = true;
  bool control = false;
  for (const char ch : value) {
    const auto c = static_cast<unsigned char>(ch);
    plain = plain && isPlainByte(c);
    control = control || c < 0x20 || c == 0x7F;
  }
  if (plain) return std::string(value);
  if (!control && FirstNonUtf8(value) == std::string_view::npos) {
    std::string out = "'";
    for (const char c : value) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
  }
  // A damaged file may hold any byte; one line per setting must survive it.
  std::string out = "$'";
  for (const char ch : value) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\\' || c == '\'') {
      out += '\\';
      out += ch;
    } else if (c < 0x20 || c >= 0x7F) {
      out += hexByte(c);
    } else {
      out += ch;
    }
  }
  return out + "'";
}

std::string SettingNamesHelp(const ProgramFolders& folders) {
  EnglishTexts english(folders);
  std::string help =
      "\nSettings and the values they take. A list takes the text of one of its items, in any\n"
      "case, or the number shown after a word (keys.pf1.short Scan, or 8); a check box 0 or 1.\n";
  if (!english.present()) help += "(" + english.missing() + ")\n";
  const TextOf textOf = english.textOf();
  for (const SettingField* field : AllSettingFields()) {
    help += helpLine(field->name, SettingValuesHelp(*field, textOf));
  }
  return help;
}

int RunGet(const std::string& file, const std::vector<std::string>& names, const Environment& env) {
  const Streams io = env.io;
  std::vector<const SettingField*> fields;
  for (const auto& name : names) {
    const SettingField* field = FindSettingField(name);
    if (field == nullptr) return unknownSetting(name, env);
    fields.push_back(field);
  }
  if (names.empty()) fields = AllSettingFields();

  EnglishTexts english(env.folders);
  if (!english.present()) return refuse(io, english.missing());
  Session session(env);
  if (!session.open(file)) return kExitRefused;
  // What is stored, not what a window would store as it opens: set must be
  // able to give every value back unchanged.
  RunState& state = session.state();
  const CodecContext codec = session.codec();
  const TextOf textOf = english.textOf();
  for (const SettingField* field : fields) {
    io.out << field->name << ' '
           << ShellWord(
                  SettingValueText(state.workingDocument, state.workingSide, *field, codec, textOf))
           << '\n';
  }
  return kExitOk;
}

int RunSet(const SetOptions& options, const Environment& env) {
  const Streams io = env.io;
  if (options.pairs.empty() || options.pairs.size() % 2 != 0) {
    io.err << "cps530-cli: " << CliText(env, text::kCliGiveSettingValues) << '\n';
    return kExitUsage;
  }
  std::vector<const SettingField*> fields;
  for (std::size_t i = 0; i < options.pairs.size(); i += 2) {
    const SettingField* field = FindSettingField(options.pairs[i]);
    if (field == nullptr) return unknownSetting(options.pairs[i], env);
    fields.push_back(field);
  }

  EnglishTexts english(env.folders);
  if (!english.present()) return refuse(io, english.missing());
  Session session(env);
  if (!session.openForChange(options.file)) return kExitRefused;
  RunState& state = session.state();
  const Effects effects = session.effects();
  const TextOf textOf = english.textOf();
  // In order, as a user would change them in the windows: a later pair sees
  // what an earlier one did (scan mode on before a key takes the scan function).
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const auto outcome =
        SetSettingFromText(state, effects, *fields[i], options.pairs[2 * i + 1], textOf);
    if (outcome.status != EditStatus::Applied && outcome.status != EditStatus::Unchanged) {
      // The sentence in the run's language; the name, value and items as given.
      const auto runText = [&session](int id) { return session.text(id); };
      if (!outcome.failure.failed()) return refuse(io, runText(text::kCliFileNotChanged));
      Message message = TextMessage(text::kCliRefusedFileNotChanged);
      message.arguments = {FailureText(outcome.failure, runText)};
      return refuse(io, MessageBody(message, runText(message.textId)));
    }
  }
  return session.save() ? kExitOk : kExitRefused;
}

}  // namespace cps::cli
