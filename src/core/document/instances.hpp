// The two instances of the document: WorkingDocument, which the editors change,
// and SavedImage, which mirrors the data file; the copies between them and the
// test for unsaved changes, which compares them instead of tracking edits.
#pragma once

namespace cps {

struct RunState;
struct DocumentRecord;
struct SideFileRecord;

// After a normal open: the working document becomes the saved one and the
// application adopts the model and band stored in it.
void CopyImageToWorking(RunState& state);
// Before a save: the saved image becomes the working document, carrying the
// current model and band.
void CopyWorkingToImage(RunState& state);
// After an open that keeps the current model: the loaded data take on the
// current model and band, and the document counts as unchanged.
void ImportKeepingModel(RunState& state);
// After reading a fall-back initial file into the saved image: only its
// optional features, FM presets and test frequencies are taken.
void ImportPresetBlocks(RunState& state);

// The working document's model information from the current model and band.
void SetModelInfoFromApplication(RunState& state);

bool IsDocumentChanged(const RunState& state);
bool IsDocumentChanged(const DocumentRecord& working, const DocumentRecord& saved,
                       const SideFileRecord& workingSide, const SideFileRecord& savedSide);

}  // namespace cps
