// Every field of a document and its side record as JSON.
#pragma once

#include <string>

#include "core/document/codec.hpp"

namespace cps {
struct DocumentRecord;
struct SideFileRecord;
}  // namespace cps

namespace cps::cli {

// Channels: frequencies as stored text and as shown text, tones as index and
// as shown text. Settings by their field names: lists and check boxes as the
// stored number; codes, message lines and frequencies as the text a window
// shows (bytes that are not UTF-8 are replaced in the output).
std::string DumpDocumentJson(const DocumentRecord& document, const SideFileRecord& side,
                             const CodecContext& codec);

}  // namespace cps::cli
