#include "core/app/file_commands.hpp"

#include <algorithm>

#include "core/app/version_table.hpp"
#include "core/document/channel_list.hpp"
#include "core/document/codec.hpp"
#include "core/document/data_file.hpp"
#include "core/document/defaults.hpp"
#include "core/document/edit_history.hpp"
#include "core/document/file_io.hpp"
#include "core/document/instances.hpp"
#include "core/document/prompter.hpp"

namespace cps {

namespace {

FileCommandResult refused(FileContext& ctx, int textId, std::string detail) {
  ctx.prompter.ask(TextMessage(textId, Buttons::Ok, Icon::Warning));
  return {FileOutcome::Refused, {textId, std::move(detail)}, {}, false};
}

FileCommandResult cancelled() { return {FileOutcome::Cancelled, {}, {}, false}; }

FileCommandResult replaced() { return {FileOutcome::Done, {}, {}, true}; }

// A file this program could not work with even at the right size: a channel
// count the list cannot hold, or a band the table does not know.
bool holdsAUsableDocument(const DocumentRecord& d) {
  return d.channelCount >= 0 && d.channelCount <= static_cast<int>(kMaxChannels) &&
         !BandLabelOfIndex(d.modelInfo.bandIndex).empty();
}

// Asks about unsaved changes before Open and the special open. False: stop.
bool settleUnsavedChanges(FileContext& ctx) {
  if (!IsDocumentChanged(ctx.state)) return true;
  const auto answer =
      ctx.prompter.ask(TextMessage(text::kUnsavedChanges, Buttons::YesNoCancel, Icon::Warning));
  if (answer == Answer::Cancel) return false;
  // A save that failed keeps the changes only in memory: going on would lose them.
  if (answer == Answer::Yes) return SaveToCurrentPath(ctx).outcome == FileOutcome::Done;
  return true;
}

std::optional<std::string> chooseOpenPath(FileContext& ctx) {
  return ctx.prompter.chooseFile({FileDialogRequest::Kind::Open, {}});
}

void finishOpen(FileContext& ctx, const std::string& path) {
  ctx.state.path = path;
  ctx.state.isUntitled = false;
  ctx.state.diskStamp = StampOf(path);
}

}  // namespace

std::string FileNameOfPath(std::string_view path) {
  const auto slash = path.find_last_of("\\/");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string MainWindowTitle(const RunState& state,
                            const std::function<std::string(int)>& langText) {
  return langText(text::kApplicationTitle) + "[" + ShownNameOfModel(state.model.currentModel) +
         ":" + state.model.currentBandLabel + "][" + langText(text::kFileLabel) + ":" +
         FileNameOfPath(state.path) + "]";
}

FileCommandResult CommandNew(FileContext& ctx) {
  if (IsDocumentChanged(ctx.state)) {
    const auto answer =
        ctx.prompter.ask(TextMessage(text::kUnsavedChanges, Buttons::YesNoCancel, Icon::Warning));
    // Whatever the answer, the confirmation follows; it is the one that can stop New.
    if (answer == Answer::Yes) SaveToCurrentPath(ctx);
  }
  const auto confirm =
      ctx.prompter.ask(TextMessage(text::kConfirmNewDocument, Buttons::OkCancel, Icon::Warning));
  if (confirm != Answer::Ok) return cancelled();
  return LoadNewDoc(ctx);
}

FileCommandResult LoadNewDoc(FileContext& ctx) {
  ctx.observer.closeChildWindows();
  MakeNewDocument(ctx);
  ctx.state.initialiseSettings = false;
  return replaced();
}

void MakeNewDocument(FileContext& ctx) {
  auto& state = ctx.state;
  state.isUntitled = true;
  state.path = kUntitledPath;
  state.diskStamp = {};
  ApplyDocumentDefaults(state, ctx.today);
  // Nothing of the old document can be undone into the new one.
  StartNewHistory(state);
  CopyWorkingToImage(state);

  const std::string model = state.model.currentModel;
  const auto bandFile =
      ctx.initFolder / (model + "_" + std::to_string(state.model.currentBandIndex) + ".dat");
  std::error_code ec;
  if (std::filesystem::exists(bandFile, ec)) {
    const auto file = ReadDataFileBytes(bandFile.string());
    if (!file.ok()) {
      CopyWorkingToImage(state);
      return;
    }
    auto document = DocumentRecord::fromBytes(file.bytes);
    if (!document || !holdsAUsableDocument(*document)) {
      ctx.prompter.ask(TextMessage(text::kWrongFileSize, Buttons::Ok, Icon::Warning));
      return;
    }
    if (!state.initialiseSettings) {
      // Only channel 1 of the band file goes into a new document; the other
      // entries are blanked so that they are not written behind the count.
      const int one = FindChannelIndex(*document, 1);
      const ChannelRecord first =
          one >= 0 ? document->channels[static_cast<std::size_t>(one)] : ChannelRecord{};
      document->channels.fill(ChannelRecord{});
      if (one >= 0) document->channels[0] = first;
      document->channelCount = one >= 0 ? 1 : 0;
    }
    state.savedImage = *document;
    state.savedSide = ReadSideFile(bandFile.string());
    CopyImageToWorking(state);
    return;
  }

  // No file for the band: the model's first band lends its presets.
  for (const char* fallback : {"TW530_0.dat", "TW530G_0.dat"}) {
    if (std::string_view(fallback).substr(0, model.size() + 1) != model + "_") continue;
    const auto path = ctx.initFolder / fallback;
    if (!std::filesystem::exists(path, ec)) return;
    const auto file = ReadDataFileBytes(path.string());
    if (!file.ok()) {
      CopyWorkingToImage(state);
      return;
    }
    const auto document = DocumentRecord::fromBytes(file.bytes);
    if (!document) {
      ctx.prompter.ask(TextMessage(text::kWrongFileSize, Buttons::Ok, Icon::Warning));
      return;
    }
    state.savedImage = *document;
    state.savedSide = ReadSideFile(path.string());
    ImportPresetBlocks(state);
    return;
  }
}

FileCommandResult CommandOpen(FileContext& ctx) {
  if (!settleUnsavedChanges(ctx)) return cancelled();
  const auto path = chooseOpenPath(ctx);
  if (!path) return cancelled();
  return OpenPath(ctx, *path);
}

FileCommandResult OpenPath(FileContext& ctx, const std::string& path) {
  ctx.observer.closeChildWindows();
  const auto file = ReadDataFileBytes(path);
  if (!file.ok()) return refused(ctx, text::kFileError, file.error);

  const std::string version(file.bytes.begin(),
                            file.bytes.begin() + static_cast<std::ptrdiff_t>(
                                                     std::min<std::size_t>(file.bytes.size(), 4)));
  if (!IsVersionText(version)) {
    return refused(ctx, text::kNotADataFile, path + ": does not begin with a format version");
  }
  const std::string fileVersion = TrimFixed(version);
  if (!IsVersionCompatible(ctx.versions, kProgramVersion, fileVersion)) {
    const auto answer = ctx.prompter.ask(FixedMessage(
        VersionMismatchText(ctx.langText, kProgramVersion, fileVersion, VersionSubject::DataFile),
        Buttons::YesNo, Icon::Question));
    if (answer != Answer::Yes) return cancelled();
    auto launch = LaunchPathFor(ctx.versions, fileVersion, ctx.baseFolder, ctx.executableName);
    if (launch.empty()) {
      ctx.prompter.ask(TextMessage(text::kNoProgramForVersion, Buttons::Ok, Icon::Warning));
    }
    return {FileOutcome::ExitProgram, {}, std::move(launch), false};
  }

  auto document = DocumentRecord::fromBytes(file.bytes);
  if (!document)
    return refused(ctx, text::kWrongFileSize, DataFileSizeDetail(path, file.bytes.size()));
  if (!holdsAUsableDocument(*document)) {
    return refused(ctx, text::kNotADataFile, path + ": channel count or band is out of range");
  }
  document->version.assign(kProgramVersion);
  ctx.state.savedImage = *document;
  ctx.state.savedSide = ReadSideFile(path);
  CopyImageToWorking(ctx.state);
  StartNewHistory(ctx.state);
  finishOpen(ctx, path);
  return replaced();
}

FileCommandResult CommandSpecialOpen(FileContext& ctx) {
  if (!settleUnsavedChanges(ctx)) return cancelled();
  const auto path = chooseOpenPath(ctx);
  if (!path) return cancelled();
  return SpecialOpenPath(ctx, *path);
}

FileCommandResult SpecialOpenPath(FileContext& ctx, const std::string& path) {
  ctx.observer.closeChildWindows();
  const auto file = ReadDataFileBytes(path);
  if (!file.ok()) return refused(ctx, text::kFileError, file.error);
  const auto document = DocumentRecord::fromBytes(file.bytes);
  if (!document)
    return refused(ctx, text::kWrongFileSize, DataFileSizeDetail(path, file.bytes.size()));
  if (document->channelCount < 0 || document->channelCount > static_cast<int>(kMaxChannels)) {
    return refused(ctx, text::kNotADataFile, path + ": channel count is out of range");
  }
  ctx.state.savedImage = *document;
  ctx.state.savedSide = ReadSideFile(path);
  ImportKeepingModel(ctx.state);
  StartNewHistory(ctx.state);
  finishOpen(ctx, path);
  return replaced();
}

FileCommandResult CommandSave(FileContext& ctx) {
  if (ctx.state.isUntitled) return CommandSaveAs(ctx);
  auto question = TextMessage(text::kConfirmOverwrite, Buttons::OkCancel, Icon::Question);
  question.fixedText = "\"" + FileNameOfPath(ctx.state.path) + "\"";
  if (ctx.prompter.ask(question) != Answer::Ok) return cancelled();
  return SaveToCurrentPath(ctx);
}

FileCommandResult CommandSaveAs(FileContext& ctx) {
  const auto path = ctx.prompter.chooseFile({FileDialogRequest::Kind::Save, ctx.state.path});
  if (!path) return cancelled();
  return SaveAsPath(ctx, *path);
}

FileCommandResult SaveAsPath(FileContext& ctx, const std::string& chosen) {
  // A name typed without an extension gets ".dat", so that the side file is
  // "name.NVD" beside it and the file shows in the open dialog's list.
  const std::string path = WithDataFileExtension(chosen);
  const std::string previous = ctx.state.path;
  ctx.state.path = path;
  auto result = SaveToCurrentPath(ctx);
  // The document still belongs to its old file when the new one could not be written.
  if (result.outcome != FileOutcome::Done) ctx.state.path = previous;
  return result;
}

bool FileChangedOnDisk(const RunState& state) {
  return !state.isUntitled && state.diskStamp.path == state.path &&
         StampOf(state.path) != state.diskStamp;
}

FileCommandResult SaveToCurrentPath(FileContext& ctx) {
  auto& state = ctx.state;
  if (FileChangedOnDisk(state)) {
    // Another program changed the file since it was opened or saved here:
    // replacing it without a word would throw its change away.
    auto question = TextMessage(text::kFileChangedOnDisk, Buttons::YesNoCancel, Icon::Warning);
    question.arguments = {"\"" + FileNameOfPath(state.path) + "\""};
    const Answer answer = ctx.prompter.ask(question);
    if (answer == Answer::No) return CommandSaveAs(ctx);
    if (answer != Answer::Yes) return cancelled();
  }
  const DocumentRecord previousImage = state.savedImage;
  const SideFileRecord previousSide = state.savedSide;
  // A file opened without its version check keeps its version in memory; what
  // this program writes is always its own format.
  state.workingDocument.version.assign(kProgramVersion);
  state.workingSide.version.assign(kProgramVersion);
  CopyWorkingToImage(state);
  const auto error = WriteDataFile(state.path, state.savedImage, state.savedSide, ctx.heldLock);
  if (!error.empty()) {
    // Nothing was saved, so the document must still count as changed.
    state.savedImage = previousImage;
    state.savedSide = previousSide;
    auto message = TextMessage(text::kFileNotSaved, Buttons::Ok, Icon::Warning);
    message.arguments = {error};
    ctx.prompter.ask(message);
    return {FileOutcome::Refused, {text::kFileNotSaved, {}, {error}}, {}, false};
  }
  state.isUntitled = false;
  state.diskStamp = StampOf(state.path);
  return {FileOutcome::Done, {}, {}, false};
}

}  // namespace cps
