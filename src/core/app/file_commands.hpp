// The file commands of the main window: New, Open, the open that keeps the
// current model, Save, Save As, and the new document with its initial files.
// They ask and report through the prompter and leave the windows to the observer;
// the result tells the caller what happened.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "core/app/text_ids.hpp"
#include "core/document/failure.hpp"
#include "core/run_state.hpp"

namespace cps {

class Prompter;
class DocumentObserver;
class FileLock;
struct VersionTable;

struct FileContext {
  RunState& state;
  Prompter& prompter;
  DocumentObserver& observer;
  const VersionTable& versions;
  std::function<std::string(int)> langText;
  std::filesystem::path initFolder;
  Today today;
  // The base folder and executable name, for handing a file over to another
  // installed program version.
  std::filesystem::path baseFolder;
  std::filesystem::path executableName;
  // The current file's lock when the caller holds it from reading the file to
  // saving it (the command line's verbs that change a file); a save without it
  // takes the lock for its own duration.
  FileLock* heldLock = nullptr;
};

enum class FileOutcome {
  Done,         // the command did what it is for
  Cancelled,    // the user stopped it; nothing changed
  Refused,      // a file was refused or could not be written; nothing changed
  ExitProgram,  // another program version takes over; this one ends
};

struct FileCommandResult {
  FileOutcome outcome = FileOutcome::Done;
  Failure failure;                // the message shown for a refusal, and what the system reported
  std::filesystem::path launch;   // the program to start before ending (may be empty)
  bool documentReplaced = false;  // show the channel window, caption and cascade again
};

FileCommandResult CommandNew(FileContext& ctx);
// The toolbar's new: replaces the document without asking.
FileCommandResult LoadNewDoc(FileContext& ctx);
// The document of the current model and band: defaults, then the band's initial file.
void MakeNewDocument(FileContext& ctx);

FileCommandResult CommandOpen(FileContext& ctx);
FileCommandResult OpenPath(FileContext& ctx, const std::string& path);
FileCommandResult CommandSpecialOpen(FileContext& ctx);
FileCommandResult SpecialOpenPath(FileContext& ctx, const std::string& path);

FileCommandResult CommandSave(FileContext& ctx);
FileCommandResult CommandSaveAs(FileContext& ctx);
FileCommandResult SaveAsPath(FileContext& ctx, const std::string& path);
// Writes without a question, unless another program changed the file since
// this run opened or saved it: then it asks whether to replace it, save under
// another name, or not save.
FileCommandResult SaveToCurrentPath(FileContext& ctx);
// Whether another program changed or replaced the current file since this run
// opened or saved it.
bool FileChangedOnDisk(const RunState& state);

// The part of a path after the last separator ("\" or "/").
std::string FileNameOfPath(std::string_view path);
// Application title, then [shown model:band][file label:file name].
std::string MainWindowTitle(const RunState& state, const std::function<std::string(int)>& langText);

}  // namespace cps
