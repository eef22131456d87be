// The radio started from a data file: packed as the program packs a document
// before writing it to a radio.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "../support/five_point_pairs.hpp"
#include "core/document/codec.hpp"
#include "core/document/data_file.hpp"
#include "core/document/defaults.hpp"
#include "core/document/instances.hpp"
#include "core/document/model.hpp"
#include "core/document/prompter.hpp"
#include "core/run_state.hpp"
#include "radiosim/sim_options.hpp"

namespace cps::radiosim {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class DataFileMemory : public ::testing::Test {
 protected:
  DataFileMemory() {
    std::string pattern = (fs::temp_directory_path() / "radiosim-XXXXXX").string();
    folder = ::mkdtemp(pattern.data());
    // A TW530 document of the band 136 - 174 MHz, while the radio's defaults
    // are TW530G and 400 - 480 MHz.
    state.model.select("TW530", "136 - 174 MHz");
    ApplyDocumentDefaults(state, Today{"2024-01-01", 1});
    CopyWorkingToImage(state);
    path = folder / "radio.dat";
    EXPECT_EQ(WriteDataFile(path.string(), state.savedImage, state.savedSide), "");
  }
  ~DataFileMemory() override {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }

  static Bytes slice(const RadioMemory& memory, std::size_t address, std::size_t length) {
    return Bytes(memory.begin() + static_cast<std::ptrdiff_t>(address),
                 memory.begin() + static_cast<std::ptrdiff_t>(address + length));
  }

  fs::path folder;
  fs::path path;
  RunState state;
};

TEST_F(DataFileMemory, PackedWithTheDocumentsModelAndBand) {
  const auto packed = PackDataFile(path);
  ASSERT_TRUE(packed.memory) << packed.error;
  const auto& memory = *packed.memory;
  EXPECT_EQ(
      slice(memory, 0xB00, 12),
      (Bytes{'T', 'W', '5', '3', '0', 0, 0,
             static_cast<std::uint8_t>(BandIndexOfLabel("136 - 174 MHz")), 'V', '2', '0', '0'}));
  EXPECT_EQ(slice(memory, 0xB10, kRadioInfoSize), Bytes(kRadioInfoSize, 0xFF));

  // The same document packed by hand gives the same bytes below 0xB10.
  RunState again;
  again.savedImage = state.savedImage;
  again.savedSide = state.savedSide;
  CopyImageToWorking(again);
  RadioImage image;
  ClearImage(image);
  struct Silent final : Prompter {
    Answer ask(const Message&) override { return Answer::Ok; }
    std::optional<std::string> chooseFile(const FileDialogRequest&) override {
      return std::nullopt;
    }
  } prompter;
  PackDocumentToImage(again, image, CodecContext{again.model.limits, prompter});
  EXPECT_EQ(slice(memory, 0, kRadioImageSize), Bytes(image.begin(), image.end()));
}

TEST_F(DataFileMemory, HoldsTheFivePointTestPairs) {
  const auto packed = PackDataFile(path);
  ASSERT_TRUE(packed.memory) << packed.error;
  EXPECT_EQ(testing::FivePointBytesOf(*packed.memory), testing::kFivePointBytes);
}

TEST_F(DataFileMemory, IdentityOptionsWinOverTheDocument) {
  SimOptions options;
  options.datPath = path;
  const auto start = StartingMemory(options);
  ASSERT_TRUE(start.memory) << start.error;
  EXPECT_EQ(slice(*start.memory, 0xB00, 13),
            (Bytes{'T', 'W', '5', '3', '0', 'G', 0, 0, 'V', '2', '0', '0', 0}));
}

TEST_F(DataFileMemory, FileOfAnotherSizeIsRefused) {
  fs::resize_file(path, 8594);
  const auto packed = PackDataFile(path);
  EXPECT_FALSE(packed.memory);
  EXPECT_NE(packed.error.find("8595"), std::string::npos) << packed.error;
}

}  // namespace
}  // namespace cps::radiosim
