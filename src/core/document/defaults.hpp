// The contents of a new document for the current model and band.
#pragma once

namespace cps {

struct RunState;
struct RadioInfoRecord;
struct ModelState;
struct Today;

// Fills the working document, the five further test frequency pairs, the radio
// information record and the working side record with their defaults.
void ApplyDocumentDefaults(RunState& state, const Today& today);
void ResetRadioInfo(RadioInfoRecord& info, const ModelState& model, const Today& today);

}  // namespace cps
