#include "cli/commands.hpp"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <optional>

#include "cli/json_dump.hpp"
#include "cli/session.hpp"
#include "core/app/file_commands.hpp"
#include "core/app/text_ids.hpp"
#include "core/app/version_table.hpp"
#include "core/document/channel_list.hpp"
#include "core/document/codec.hpp"
#include "core/document/file_io.hpp"
#include "core/run_state.hpp"

namespace cps::cli {

namespace {

constexpr const char* kToneNone = "none";

int refuse(Streams io, const std::string& what, int status = kExitRefused) {
  io.err << "cps530-cli: " << what << '\n';
  return status;
}

// A tone is given as its shown text (67.0, 023N, 023I, none) or as its index.
std::optional<std::string> toneValue(const std::string& text) {
  if (const auto index = ParseInteger(text)) return std::to_string(*index);
  if (const auto index = ToneIndexOfText(text)) return std::to_string(*index);
  return std::nullopt;
}

}  // namespace

std::string CliText(const Environment& env, int id) {
  TextTable texts(env.folders.languageFolder() / std::string(LanguageFileName(env.language)));
  return texts.LangText(id);
}

namespace {

// A text of the run's language with the values given in its places.
std::string said(const Environment& env, int id, std::vector<std::string> values) {
  Message message = TextMessage(id);
  message.arguments = std::move(values);
  return MessageBody(message, CliText(env, id));
}

}  // namespace

int UnknownVerb(const std::string& verb, const std::string& verbs, const Environment& env) {
  return refuse(env.io, "\"" + verb + "\" " + CliText(env, text::kCliUnknownVerb) + verbs,
                kExitUsage);
}

std::string EditFieldList() {
  std::string names;
  for (const auto& field : ChannelFields()) names += std::string(" ") + std::string(field.name);
  return names;
}

bool OutputAllowed(const Environment& env, const std::string& output, OutputKind kind,
                   const std::vector<std::string>& inputs, bool force) {
  const std::string problem = OutputFileProblem(output, kind, inputs, force);
  if (problem.empty()) return true;
  env.io.err << "cps530-cli: " << problem << '\n';
  return false;
}

int RunNew(const NewOptions& options, const Environment& env) {
  const Streams io = env.io;
  if (options.model != kModelTW530 && options.model != kModelTW530G) {
    return refuse(io, "\"" + options.model + "\" " + CliText(env, text::kCliUnknownModel));
  }
  const auto bands = BandTable();
  const bool knownBand = std::any_of(bands.begin(), bands.end(),
                                     [&](const BandEntry& b) { return b.label == options.band; });
  if (!knownBand) {
    std::string labels;
    for (const auto& b : bands) labels += "\n  " + std::string(b.label);
    return refuse(io, "\"" + options.band + "\" " + CliText(env, text::kCliUnknownBand) + labels);
  }
  Session session(env);
  // get, set and every other verb open a file only by the version table.
  if (!session.versions().problem.empty()) {
    return refuse(io, session.versions().problem + ". " + CliText(env, text::kCliNoVersionTable));
  }
  if (!options.initDir.empty()) session.files().initFolder = options.initDir;
  session.state().model.select(options.model, options.band);
  session.state().initialiseSettings = options.initialise;
  const std::string output = WithDataFileExtension(options.output);
  if (!OutputAllowed(env, output, OutputKind::DataFile, {}, options.force)) return kExitRefused;
  MakeNewDocument(session.files());
  return session.saveAs(output) ? kExitOk : kExitRefused;
}

int RunShow(const std::string& file, bool offsetMode, const Environment& env) {
  const Streams io = env.io;
  Session session(env);
  if (!session.open(file)) return kExitRefused;
  const RunState& state = session.state();
  const CodecContext codec = session.codec();

  io.out << "Model: " << state.model.currentModel << " ("
         << ShownNameOfModel(state.model.currentModel) << ")\n"
         << "Band:  " << state.model.currentBandLabel << " (index " << state.model.currentBandIndex
         << ")\n"
         << "Channels: " << state.workingDocument.usedCount() << "\n\n";

  std::vector<ChannelRecord> channels(state.workingDocument.usedChannels().begin(),
                                      state.workingDocument.usedChannels().end());
  std::sort(channels.begin(), channels.end(),
            [](const ChannelRecord& a, const ChannelRecord& b) { return a.number < b.number; });

  const auto row = [&io](const std::vector<std::string>& cells) {
    static constexpr int kWidths[] = {4, 6, 11, 11, 7, 7, 6, 10, 8, 4};
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      line += cells[i];
      line.append(static_cast<std::size_t>(
                      std::max<int>(kWidths[i] + 1 - static_cast<int>(cells[i].size()), 1)),
                  ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    io.out << line << '\n';
  };
  row({"CH", "GRP-P", "RX", offsetMode ? "OFFSET" : "TX", "DECODE", "ENCODE", "POWER", "SCAN-SKIP",
       "SPACING", "BCL"});
  for (const auto& c : channels) {
    row({std::to_string(c.number),
         std::to_string(GroupOfChannel(c.number)) + "-" +
             std::to_string(PositionOfChannel(c.number)),
         FreqStoredToText(c.rxFreq.raw(), codec),
         TxFrequencyText(c.rxFreq.raw(), c.offset.raw(), c.offsetDirection, offsetMode, codec),
         ToneText(c.decodeTone, kToneNone), ToneText(c.encodeTone, kToneNone),
         std::to_string(c.power), std::to_string(c.scanSkip), std::to_string(c.spacing),
         std::to_string(c.busyLockout)});
  }
  return kExitOk;
}

int RunDump(const std::string& file, const Environment& env) {
  Session session(env);
  if (!session.open(file)) return kExitRefused;
  const RunState& state = session.state();
  env.io.out << DumpDocumentJson(state.savedImage, state.savedSide, session.codec()) << '\n';
  return kExitOk;
}

int RunEdit(const EditOptions& options, const Environment& env) {
  const Streams io = env.io;
  if (options.channel < 1 || options.channel > static_cast<int>(kMaxChannels)) {
    return refuse(io,
                  std::to_string(options.channel) + " " + CliText(env, text::kCliNoSuchChannel));
  }
  if (options.pairs.empty() || options.pairs.size() % 2 != 0) {
    return refuse(io, CliText(env, text::kCliGiveFieldValues), kExitUsage);
  }
  // Every name and tone is checked before anything is applied, so that a bad
  // pair leaves the file as it was.
  std::vector<std::pair<int, std::string>> edits;
  for (std::size_t i = 0; i < options.pairs.size(); i += 2) {
    const auto& name = options.pairs[i];
    const ChannelFieldRow* field = FindChannelFieldByName(name);
    if (field == nullptr) {
      return refuse(io,
                    "\"" + name + "\" " + CliText(env, text::kCliUnknownField) + EditFieldList(),
                    kExitUsage);
    }
    std::string value = options.pairs[i + 1];
    if (field->kind == ChannelValueKind::Tone) {
      const auto tone = toneValue(value);
      if (!tone) return refuse(io, said(env, text::kCliNotATone, {value}));
      value = *tone;
    }
    edits.emplace_back(static_cast<int>(field->code), std::move(value));
  }

  Session session(env);
  if (!session.openForChange(options.file)) return kExitRefused;
  RunState& state = session.state();
  state.habits.offsetMode = options.offsetMode;
  const Effects effects = session.effects();
  const int group = GroupOfChannel(options.channel) - 1;
  const int position = PositionOfChannel(options.channel);
  for (std::size_t i = 0; i < edits.size(); ++i) {
    const auto& [code, value] = edits[i];
    const bool existed = FindChannelIndex(state.workingDocument, options.channel) >= 0;
    const auto outcome = ApplyChannelEdit(state, effects, group, position, code, value);
    const auto runText = [&env](int id) { return CliText(env, id); };
    std::string reason = FailureText(outcome.failure, runText);
    // An edit the rules ignore did not do what was asked: say so rather than save.
    if (outcome.status == EditStatus::Ignored) {
      reason = runText(existed ? text::kCliLastChannelKept : text::kCliChannelNotThere);
    }
    if (outcome.status == EditStatus::Refused || outcome.status == EditStatus::Ignored) {
      const std::string refusal =
          said(env, text::kCliChannelRefusal,
               {std::to_string(options.channel), options.pairs[2 * i], reason});
      return refuse(io, said(env, text::kCliRefusedFileNotChanged, {refusal}));
    }
  }
  return session.save() ? kExitOk : kExitRefused;
}

}  // namespace cps::cli
