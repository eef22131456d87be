// A save that is killed (kill -9) at any moment leaves the data file and its
// side file each whole: the old one or the new one, never a mixture, never cut
// short, never missing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

#include "core/document/file_io.hpp"
#include "process.hpp"
#include "save_documents.hpp"

namespace cps::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kKills = 250;

std::vector<std::uint8_t> bytesOf(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

template <typename Image>
std::vector<std::uint8_t> vectorOf(const Image& image) {
  return {image.begin(), image.end()};
}

TEST(CrashSafeSave, AKilledSaveLeavesTheOldFileOrTheNewOneWhole) {
  std::random_device seed;
  std::mt19937 random(seed());
  const fs::path dir = fs::temp_directory_path() / ("cps530-kill-" + std::to_string(seed()));
  fs::create_directories(dir);
  const fs::path file = dir / "radio.dat";
  const fs::path side = SideFilePath(file.string());

  std::vector<std::uint8_t> data[2];
  std::vector<std::uint8_t> sides[2];
  for (int which : {0, 1}) {
    const auto state = SaveDocument(which);
    data[which] = vectorOf(state.workingDocument.toBytes());
    sides[which] = vectorOf(state.workingSide.toBytes());
  }
  ASSERT_NE(data[0], data[1]);
  ASSERT_NE(sides[0], sides[1]);

  int seen[2][2] = {};  // data file, side file: which document
  for (int kill = 0; kill < kKills; ++kill) {
    Process saver({CPS_SAVE_LOOP, file.string()});
    ASSERT_EQ(saver.readLine(10s), "saving") << "the save loop did not start";
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
    saver.sendSignal(SIGKILL);
    const auto ended = saver.wait(10s);
    ASSERT_EQ(ended.status, 128 + SIGKILL) << ended.err;

    const auto onDisk = bytesOf(file);
    const auto sideOnDisk = bytesOf(side);
    const int dataIs = onDisk == data[0] ? 0 : onDisk == data[1] ? 1 : -1;
    const int sideIs = sideOnDisk == sides[0] ? 0 : sideOnDisk == sides[1] ? 1 : -1;
    ASSERT_NE(dataIs, -1) << "kill " << kill << ": the data file is torn (" << onDisk.size()
                          << " bytes)";
    ASSERT_NE(sideIs, -1) << "kill " << kill << ": the side file is torn (" << sideOnDisk.size()
                          << " bytes)";
    ++seen[dataIs][sideIs];
  }
  // What the kills left, for whoever reads the log: a data file and a side
  // file from two different saves happen when the kill falls between them.
  std::size_t leftovers = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path() != file && entry.path() != side) ++leftovers;
  }
  std::printf(
      "%d kills: data/side old/old %d, old/new %d, new/old %d, new/new %d; "
      "%zu temporary files left behind\n",
      kKills, seen[0][0], seen[0][1], seen[1][0], seen[1][1], leftovers);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace cps::e2e
