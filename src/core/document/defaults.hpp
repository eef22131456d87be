// The contents of a new document for the current model and band.
#pragma once

#include <array>

#include "core/document/records.hpp"

namespace cps {

struct RunState;
struct RadioInfoRecord;
struct ModelState;
struct Today;

// Fills the working document, the five further test frequency pairs, the radio
// information record and the working side record with their defaults.
void ApplyDocumentDefaults(RunState& state, const Today& today);
// The five test frequency pairs the radio holds beyond the document's eleven.
// Every program's run starts with them, so that whatever writes a radio or an
// image writes them as the desktop program does.
std::array<TestFrequencyRecord, 5> DefaultExtraTestFrequencies();
void ResetRadioInfo(RadioInfoRecord& info, const ModelState& model, const Today& today);

}  // namespace cps
