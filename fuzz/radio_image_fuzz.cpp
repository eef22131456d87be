// Any radio memory unpacked into the document, as after a read: unpacking
// never fails, and the document it gives packs into an image that unpacks to
// the same document again; the information area of any bytes unpacks too.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "core/document/codec.hpp"
#include "core/document/prompter.hpp"
#include "core/link/radio_image.hpp"
#include "core/run_state.hpp"
#include "fuzz_support.hpp"

namespace {

void check(bool holds, const char* what) {
  if (!holds) cps::fuzz::Fail("radio image", what);
}

class QuietPrompter final : public cps::Prompter {
 public:
  cps::Answer ask(const cps::Message&) override { return cps::Answer::Ok; }
  std::optional<std::string> chooseFile(const cps::FileDialogRequest&) override {
    return std::nullopt;
  }
};

void unpack(const cps::RadioImage& image, cps::RunState& state, cps::Prompter& prompter) {
  cps::UnpackRadioImage(image, state, cps::CodecContext{state.model.limits, prompter});
}

cps::RadioImage pack(cps::RunState& state, cps::Prompter& prompter) {
  cps::RadioImage image;
  cps::ClearImage(image);
  cps::PackDocumentToImage(state, image, cps::CodecContext{state.model.limits, prompter});
  return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  cps::RadioImage image;
  cps::ClearImage(image);
  std::copy_n(data, std::min(size, image.size()), image.begin());
  // Every band of the radio lies between 100 and 999.99999 MHz, so a radio's
  // frequencies are numbers of eight digits in 10 Hz units; the channel slots
  // are made to hold such numbers (or none), and the rest is left as it came.
  for (std::size_t slot = 0; slot < 128; ++slot) {
    for (std::size_t at = slot * 16; at < slot * 16 + 8; at += 4) {
      std::uint32_t units = 0;
      for (std::size_t i = 0; i < 4; ++i) units = (units << 8) | image[at + i];
      if (units == 0xFFFFFFFF) continue;
      units = 10'000'000 + units % 90'000'000;
      for (std::size_t i = 0; i < 4; ++i) {
        image[at + i] = static_cast<std::uint8_t>(units >> (24 - 8 * i));
      }
    }
  }
  QuietPrompter prompter;

  cps::RunState first;
  unpack(image, first, prompter);
  const auto packed = pack(first, prompter);
  cps::RunState second;
  unpack(packed, second, prompter);
  const auto packedAgain = pack(second, prompter);
  cps::RunState third;
  unpack(packedAgain, third, prompter);
  check(packedAgain == packed, "packing the document read back gave another image");
  if (!(third.workingDocument == second.workingDocument)) {
    const auto a = second.workingDocument.toBytes();
    const auto b = third.workingDocument.toBytes();
    const auto at = std::mismatch(a.begin(), a.end(), b.begin()).first - a.begin();
    std::fprintf(stderr, "radio image: the documents differ first at file offset %td\n", at);
    cps::fuzz::Fail("radio image", "the document changed on its way to the radio and back");
  }

  // What was read from the radio goes back to it as it was read: its settings,
  // its channels and their receive frequencies. (A transmit frequency outside
  // the band is put back into it, with the warning every such frequency gets.)
  const auto& read = first.workingDocument;
  const auto& back = second.workingDocument;
  check(back.optionalFeatures == read.optionalFeatures && back.dtmf == read.dtmf &&
            back.message == read.message && back.keys == read.keys && back.alert == read.alert &&
            back.scan == read.scan && back.testFrequencies == read.testFrequencies &&
            back.modelInfo == read.modelInfo,
        "a setting read from a radio changed on its way back to the radio");
  check(second.workingSide == first.workingSide, "the alarm mode changed on its way to the radio");
  check(second.extraTestFrequencies == first.extraTestFrequencies,
        "the five further test pairs changed on their way to the radio");
  check(back.channelCount == read.channelCount, "a channel was lost on its way to the radio");
  for (int i = 0; i < read.usedCount(); ++i) {
    const auto& was = read.channels[static_cast<std::size_t>(i)];
    const auto& is = back.channels[static_cast<std::size_t>(i)];
    check(is.number == was.number && is.rxFreq == was.rxFreq,
          "a channel or its receive frequency changed on its way to the radio");
  }

  cps::RadioInfoArea area;
  area.fill(0xFF);
  if (size > image.size()) {
    std::copy_n(data + image.size(), std::min(size - image.size(), area.size()), area.begin());
  }
  cps::RadioInfoRecord info;
  cps::UnpackInfoArea(area, info);
  for (const auto* text : {&info.serialNumber, &info.repairReason, &info.handledBy}) {
    check(text->find('\0') == std::string::npos, "an information text holds a 0 byte");
  }
  return 0;
}
