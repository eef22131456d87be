// Two data files of any content compared both ways, as `cps530-cli diff` and
// the desktop's compare windows compare them. Whatever the bytes: a file is
// the same as itself; the two directions find the same number of differences;
// and two files the radio would be written differently from never compare as
// the same.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/compare/compare.hpp"
#include "core/document/codec.hpp"
#include "core/document/records.hpp"
#include "core/link/radio_image.hpp"
#include "core/run_state.hpp"
#include "fuzz_support.hpp"

namespace {

void check(bool holds, const char* what) {
  if (!holds) cps::fuzz::Fail("compare", what);
}

class Quiet final : public cps::Prompter {
 public:
  cps::Answer ask(const cps::Message&) override { return cps::Answer::Ok; }
  std::optional<std::string> chooseFile(const cps::FileDialogRequest&) override {
    return std::nullopt;
  }
};

cps::RadioImage imageOf(const cps::ComparedFile& file) {
  cps::RunState state;
  state.model.select(file.model, file.bandLabel);
  state.workingDocument = file.stored.document;
  state.workingSide = file.stored.side;
  Quiet quiet;
  cps::RadioImage image{};
  cps::ClearImage(image);
  cps::PackDocumentToImage(state, image, cps::CodecContext{state.model.limits, quiet});
  return image;
}

}  // namespace

// The input: the first data file with its side file, then the second: each
// 8595 + 5 bytes, padded with blanks where the input is short. The second
// starts as a copy of the first with the input's bytes laid over it, so that
// most runs compare two files that differ in a few places.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kPair = cps::DocumentRecord::kSize + cps::SideFileRecord::kSize;
  std::vector<std::uint8_t> first(data, data + std::min(size, kPair));
  first.resize(kPair, 0x20);
  std::vector<std::uint8_t> second = first;
  // The rest: pairs of (position in two bytes, new byte) applied to the copy.
  for (std::size_t at = kPair; at + 3 <= size; at += 3) {
    const std::size_t where = (std::size_t{data[at]} << 8 | data[at + 1]) * 3 % kPair;
    second[where] = data[at + 2];
  }
  const auto folder = cps::fuzz::ScratchFolder();
  const std::vector<std::vector<std::uint8_t>*> files = {&first, &second};
  std::vector<cps::ComparedFile> read;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const auto path = folder / ("compared" + std::to_string(i) + ".dat");
    const auto& bytes = *files[i];
    cps::fuzz::WriteBytes(path, {bytes.data(), cps::DocumentRecord::kSize});
    cps::fuzz::WriteBytes(folder / ("compared" + std::to_string(i) + ".NVD"),
                          {bytes.data() + cps::DocumentRecord::kSize, cps::SideFileRecord::kSize});
    auto result = cps::ReadComparedFile(path.string());
    if (!result.file) return 0;
    read.push_back(std::move(*result.file));
  }
  const cps::TextOf textOf = [](int id) { return std::to_string(id); };
  for (const bool forPeople : {true, false}) {
    cps::CompareOptions options;
    options.asTheWindowsShow = forPeople;
    options.checksAsWords = forPeople;
    options.offsetMode = forPeople;
    check(cps::CompareDocuments(read[0].view(), read[0].view(), textOf, options).empty(),
          "a file differs from itself");
    const auto ab = cps::CompareDocuments(read[0].view(), read[1].view(), textOf, options);
    const auto ba = cps::CompareDocuments(read[1].view(), read[0].view(), textOf, options);
    check(ab.size() == ba.size(), "the two directions find different numbers of differences");
    for (const auto& d : ab) {
      check(!d.field.empty() && !d.label.empty(), "a difference without a name or a label");
      check(!cps::DifferenceLine(d).empty(), "a difference without a line");
    }
    if (imageOf(read[0]) != imageOf(read[1])) {
      check(!ab.empty(), "two files the radio would hold differently compare as the same");
    }
  }
  return 0;
}
