#include "radiosim/radio_memory.hpp"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cps/version.hpp"
#include "radiosim/sim_options.hpp"
#include "temp_folder.hpp"
#include "test_bytes.hpp"

namespace cps::radiosim {
namespace {

using namespace test;
namespace fs = std::filesystem;

Bytes slice(const RadioMemory& memory, std::size_t address, std::size_t length) {
  return Bytes(memory.begin() + static_cast<std::ptrdiff_t>(address),
               memory.begin() + static_cast<std::ptrdiff_t>(address + length));
}

struct Parsed {
  CommandLine commandLine;
  std::string out;
  std::string err;
};

Parsed parse(std::vector<std::string> args) {
  args.insert(args.begin(), "cps530-radiosim");
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out;
  std::ostringstream err;
  auto commandLine = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), out, err);
  return {commandLine, out.str(), err.str()};
}

TEST(RadioMemory, ServesAddresses0x000To0xCFF) { EXPECT_EQ(kMemorySize, 3328u); }

TEST(RadioMemory, ErasedRadioWithTheDefaultIdentity) {
  SimOptions options;
  const auto start = StartingMemory(options);
  ASSERT_TRUE(start.memory);
  const auto& memory = *start.memory;
  EXPECT_EQ(slice(memory, 0xB00, 16),
            (text("TW530G") + Bytes{0x00, 0x00} + text("V200") + Bytes{0x00, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(slice(memory, 0, 0xB00), repeat(0xFF, 0xB00));
  EXPECT_EQ(slice(memory, 0xB10, 0xD00 - 0xB10), repeat(0xFF, 0xD00 - 0xB10));
}

TEST(RadioMemory, IdentificationBlockFollowsTheOptions) {
  RadioMemory memory = ErasedMemory();
  WriteIdentification(memory, {"TW530", 0x22, "V1", 0x0C});
  EXPECT_EQ(slice(memory, 0xB00, 16), (text("TW530") + Bytes{0x00, 0x00, 0x22} + text("V1") +
                                       Bytes{0x00, 0x00, 0x0C, 0xFF, 0xFF, 0xFF}));
}

TEST(RadioMemory, PasswordAt0xB3CPaddedWithFF) {
  RadioMemory memory = ErasedMemory();
  WritePassword(memory, "ab");
  EXPECT_EQ(slice(memory, 0xB38, 8), Bytes({0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 0xFF, 0xFF}));
  WritePassword(memory, "");
  EXPECT_EQ(slice(memory, 0xB3C, 4), repeat(0xFF, 4));
}

TEST(RadioMemory, ImageKeepsItsBytesButTakesTheIdentityOfTheOptions) {
  TempFolder folder;
  Bytes image;
  for (std::size_t i = 0; i < kMemorySize; ++i) image.push_back(static_cast<std::uint8_t>(i * 7));
  SimOptions options;
  options.imagePath = folder.file(image, "radio.img");
  options.identity = {"TW530", 3, "V200", 0x04};
  const auto start = StartingMemory(options);
  ASSERT_TRUE(start.memory) << start.error;
  const auto& memory = *start.memory;
  EXPECT_EQ(slice(memory, 0, 0xB00), Bytes(image.begin(), image.begin() + 0xB00));
  EXPECT_EQ(slice(memory, 0xB00, 13),
            (text("TW530") + Bytes{0x00, 0x00, 0x03} + text("V200") + Bytes{0x04}));
  // Past the identification block, the password included, the image stays.
  EXPECT_EQ(slice(memory, 0xB0D, kMemorySize - 0xB0D), Bytes(image.begin() + 0xB0D, image.end()));

  options.password = "";
  const auto cleared = StartingMemory(options);
  ASSERT_TRUE(cleared.memory);
  EXPECT_EQ(slice(*cleared.memory, 0xB3C, 4), repeat(0xFF, 4));
}

TEST(RadioMemory, ImageOfAnotherSizeIsRefused) {
  TempFolder folder;
  for (const std::size_t size :
       {std::size_t{0}, kRadioImageSize, kMemorySize - 1, kMemorySize + 1, std::size_t{8595}}) {
    const auto result = LoadMemoryImage(folder.file(repeat(0xFF, size), "wrong.img"));
    EXPECT_FALSE(result.memory) << size;
    EXPECT_NE(result.error.find("exactly 3328 bytes"), std::string::npos) << result.error;
  }
  const auto missing = LoadMemoryImage(folder.path() / "none.img");
  EXPECT_FALSE(missing.memory);
  EXPECT_NE(missing.error.find("does not exist"), std::string::npos) << missing.error;
}

TEST(RadioMemory, SavedMemoryReadsBackTheSame) {
  TempFolder folder;
  RadioMemory memory = ErasedMemory();
  memory[0] = 0x12;
  memory[kMemorySize - 1] = 0x34;
  ASSERT_EQ(SaveMemory(folder.path() / "saved.img", memory), "");
  const auto loaded = LoadMemoryImage(folder.path() / "saved.img");
  ASSERT_TRUE(loaded.memory);
  EXPECT_EQ(*loaded.memory, memory);
}

TEST(CommandLine, Defaults) {
  const auto parsed = parse({});
  ASSERT_TRUE(parsed.commandLine.options) << parsed.err;
  const auto& o = *parsed.commandLine.options;
  EXPECT_EQ(o.identity.model, "TW530G");
  EXPECT_EQ(o.identity.bandCode, 0);
  EXPECT_EQ(o.identity.version, "V200");
  EXPECT_EQ(o.identity.capabilities, 0);
  EXPECT_FALSE(o.password);
  EXPECT_FALSE(o.echo);
  EXPECT_FALSE(o.once);
  EXPECT_EQ(o.paceBaud, 0u);
  EXPECT_EQ(o.faults.dropEvery, 0u);
  EXPECT_FALSE(o.faults.muteAfter);
}

TEST(CommandLine, EveryOption) {
  const auto parsed = parse({"--image",
                             "a.img",
                             "--save",
                             "b.img",
                             "--link",
                             "/tmp/x",
                             "--once",
                             "--model",
                             "TW530",
                             "--band-code",
                             "0x10",
                             "--firmware",
                             "V201",
                             "--caps",
                             "12",
                             "--password",
                             "9876",
                             "--echo",
                             "--pace",
                             "9600",
                             "--drop-every",
                             "3",
                             "--corrupt-every",
                             "4",
                             "--retry-every",
                             "5",
                             "--mute-after",
                             "0",
                             "--cut-every",
                             "6",
                             "--noise-every",
                             "7",
                             "--forget-every",
                             "8",
                             "--verbose"});
  ASSERT_TRUE(parsed.commandLine.options) << parsed.err;
  const auto& o = *parsed.commandLine.options;
  EXPECT_EQ(o.imagePath, "a.img");
  EXPECT_EQ(o.savePath, "b.img");
  EXPECT_EQ(o.linkPath, "/tmp/x");
  EXPECT_TRUE(o.once);
  EXPECT_EQ(o.identity.model, "TW530");
  EXPECT_EQ(o.identity.bandCode, 16);
  EXPECT_EQ(o.identity.version, "V201");
  EXPECT_EQ(o.identity.capabilities, 12);
  EXPECT_EQ(o.password, "9876");
  EXPECT_TRUE(o.echo);
  EXPECT_EQ(o.paceBaud, 9600u);
  EXPECT_EQ(o.faults.dropEvery, 3u);
  EXPECT_EQ(o.faults.corruptEvery, 4u);
  EXPECT_EQ(o.faults.retryEvery, 5u);
  EXPECT_EQ(o.faults.muteAfter, 0u);
  EXPECT_EQ(o.faults.cutEvery, 6u);
  EXPECT_EQ(o.faults.noiseEvery, 7u);
  EXPECT_EQ(o.faults.forgetEvery, 8u);
  EXPECT_TRUE(o.verbose);
}

TEST(CommandLine, UsageErrors) {
  const std::vector<std::vector<std::string>> wrong = {
      {"--caps", "256"},       {"--band-code", "-1"},   {"--band-code", "0x"},
      {"--pace", "fast"},      {"--drop-every", "1.5"}, {"--cut-every", "x"},
      {"--noise-every", "-2"}, {"--model", "TW530GXX"}, {"--model", ""},
      {"--firmware", "V2000"}, {"--password", "12345"}, {"--image", "a.img", "--dat", "b.dat"},
      {"--no-such-option"},
  };
  for (const auto& args : wrong) {
    const auto parsed = parse(args);
    EXPECT_FALSE(parsed.commandLine.options) << args[0];
    EXPECT_EQ(parsed.commandLine.exitCode, kExitUsage) << args[0];
    EXPECT_FALSE(parsed.err.empty()) << args[0];
  }
}

TEST(CommandLine, VersionIsTheProgramsRelease) {
  const auto parsed = parse({"--version"});
  EXPECT_FALSE(parsed.commandLine.options);
  EXPECT_EQ(parsed.commandLine.exitCode, kExitOk);
  EXPECT_EQ(parsed.out, "cps530-radiosim " + std::string(kReleaseVersion) + "\n");
}

TEST(CommandLine, HelpNamesTheOptions) {
  const auto parsed = parse({"--help"});
  EXPECT_FALSE(parsed.commandLine.options);
  EXPECT_EQ(parsed.commandLine.exitCode, kExitOk);
  for (const char* option :
       {"--image",      "--dat",       "--save",        "--link",          "--once",
        "--model",      "--band-code", "--firmware",    "--caps",          "--password",
        "--echo",       "--pace",      "--drop-every",  "--corrupt-every", "--retry-every",
        "--mute-after", "--cut-every", "--noise-every", "--forget-every",  "--verbose"}) {
    EXPECT_NE(parsed.out.find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace cps::radiosim
