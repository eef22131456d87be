// Every fault the virtual radio can commit, against every transfer of
// cps530-cli, on a cable with and without echo. Each run ends within its
// budget and tells the radio END before it lets go of the line; it ends either
// with exactly what the radio holds (a read, an information read) or with the
// radio holding exactly what was written (a write), or it fails clearly: exit
// status 1, a message, and the output file (or standard output) untouched.
// The one fault no write can see without reading the radio back, a block
// acknowledged and not stored, is what the check of `write --verify` is for.
// Every run may retry three times where the user would be asked, as a batch of
// radios is programmed: an information read asks at its first lost answer.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <random>

#include "message_text.hpp"
#include "process.hpp"

namespace cps::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// No transfer, however the line misbehaves, may take longer than this.
constexpr auto kBudget = 60s;

enum class Transfer { Read, Write, WriteVerify, Info };

enum class Outcome {
  Done,    // exit 0 with exactly the radio's memory, or the image in the radio
  Failed,  // exit 1, a message, nothing written
  // Exit 0, but the radio does not hold the image: a radio that acknowledges
  // a block without storing it cannot be seen by a write alone.
  UnseenWithoutCheck,
};

struct Fault {
  const char* name;
  std::vector<std::string> radio;
};

const std::vector<Fault>& faults() {
  static const std::vector<Fault> all{
      {"a clean line", {}},
      {"lost answers", {"--drop-every", "23"}},
      {"answers cut short", {"--cut-every", "19"}},
      {"blocks with a wrong checksum", {"--corrupt-every", "13"}},
      {"written blocks refused", {"--retry-every", "7"}},
      {"line noise", {"--noise-every", "19"}},
      // Blocks 43, 86, 129 (the channel bitmap at 0x800) and 172.
      {"written blocks not stored", {"--forget-every", "43"}},
      {"a radio that falls silent", {"--mute-after", "30"}},
  };
  return all;
}

struct Case {
  std::size_t fault;
  Transfer transfer;
  bool echo;
  Outcome outcome;
};

std::string transferName(Transfer t) {
  switch (t) {
    case Transfer::Read:
      return "read";
    case Transfer::Write:
      return "write";
    case Transfer::WriteVerify:
      return "write --verify";
    case Transfer::Info:
      return "info";
  }
  return {};
}

void PrintTo(const Case& c, std::ostream* os) {
  *os << faults()[c.fault].name << ", " << transferName(c.transfer)
      << (c.echo ? ", echoing cable" : ", plain cable");
}

Outcome expectedOutcome(const Fault& fault, Transfer transfer) {
  const std::string name = fault.name;
  if (name == "a radio that falls silent") return Outcome::Failed;
  if (name == "written blocks not stored") {
    if (transfer == Transfer::Write) return Outcome::UnseenWithoutCheck;
    if (transfer == Transfer::WriteVerify) return Outcome::Failed;
  }
  return Outcome::Done;
}

// The table: every fault, every transfer, both cables.
std::vector<Case> matrix() {
  std::vector<Case> cases;
  for (std::size_t f = 0; f < faults().size(); ++f) {
    for (const auto t : {Transfer::Read, Transfer::Write, Transfer::WriteVerify, Transfer::Info}) {
      for (const bool echo : {false, true}) {
        cases.push_back({f, t, echo, expectedOutcome(faults()[f], t)});
      }
    }
  }
  return cases;
}

std::vector<char> bytesOf(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& p, const std::vector<char>& bytes) {
  std::ofstream(p, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The production and dealer data the radio's information area starts with.
const std::vector<std::pair<std::size_t, std::string>> kInfo{
    {0, "0595"}, {48, "SN-000123"}, {96, "Cracked housing"}, {432, "DEALER-7"}};

class FaultMatrix : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    std::random_device random;
    m_dir = fs::temp_directory_path() / ("cps530-faults-" + std::to_string(random()));
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }

  std::string path(const std::string& name) const { return (m_dir / name).string(); }

  Finished cli(std::vector<std::string> args) {
    args.insert(args.begin(), {CPS_CLI, "--lang", "en"});
    Process p(args);
    return p.wait(kBudget);
  }

  // A document with a few channels, the image a write packs from it, and a
  // radio memory of that image with an information area.
  void makeFiles() {
    const auto doc = path("doc.dat");
    ASSERT_EQ(cli({"new", "-o", doc, "--model", "TW530G", "--band", "400 - 480 MHz"}).status, 0);
    for (std::vector<std::string> edit :
         {std::vector<std::string>{"1", "rx", "435.1", "tx", "440.1", "decode", "67.0"},
          {"2", "rx", "446.00625", "encode", "023I", "scan-skip", "1"},
          {"17", "rx", "420.5", "tx", "410.5", "decode", "754N", "ptt-id", "3"},
          {"128", "rx", "479.99", "compander", "1", "scrambler", "1"}}) {
      edit.insert(edit.begin(), {"edit", doc});
      ASSERT_EQ(cli(edit).status, 0);
    }
    ASSERT_EQ(cli({"pack", doc, "-o", path("packed.bin")}).status, 0);
    auto memory = bytesOf(path("packed.bin"));
    ASSERT_EQ(memory.size(), 2832u);
    memory.resize(0xD00, static_cast<char>(0xFF));
    for (const auto& [index, text] : kInfo) {
      std::copy(text.begin(), text.end(), memory.begin() + 0xB10 + static_cast<long>(index));
      memory[0xB10 + index + text.size()] = 0;
    }
    writeBytes(path("memory.img"), memory);
  }

  fs::path m_dir;
};

TEST_P(FaultMatrix, EndsWithTheRadiosDataOrAClearFailure) {
  const Case c = GetParam();
  makeFiles();
  if (HasFatalFailure()) return;

  std::vector<std::string> radioArgs{CPS_RADIOSIM, "--verbose", "--save", path("after.img")};
  // A write goes to an erased radio, a read comes from one that holds the document.
  const bool writing = c.transfer == Transfer::Write || c.transfer == Transfer::WriteVerify;
  if (!writing) radioArgs.insert(radioArgs.end(), {"--image", path("memory.img")});
  if (c.echo) radioArgs.push_back("--echo");
  const auto& fault = faults()[c.fault];
  radioArgs.insert(radioArgs.end(), fault.radio.begin(), fault.radio.end());
  Process radio(radioArgs);
  const std::string device = radio.readLine(10s);
  ASSERT_FALSE(device.empty()) << "the virtual radio printed no device";

  // An older data file in the output's place: a failed read must leave it as it was.
  const auto out = path("out.dat");
  fs::copy_file(path("doc.dat"), out);
  std::vector<std::string> args;
  switch (c.transfer) {
    case Transfer::Read:
      args = {"read", "--port", device, "-o", out};
      break;
    case Transfer::Write:
      args = {"write", path("doc.dat"), "--port", device};
      break;
    case Transfer::WriteVerify:
      args = {"write", path("doc.dat"), "--port", device, "--verify"};
      break;
    case Transfer::Info:
      args = {"info", "--port", device, "--json"};
      break;
  }
  args.insert(args.end(), {"--retries", "3"});
  const auto run = cli(args);
  radio.terminate();
  const auto log = radio.wait(10s).err;
  ASSERT_NE(run.status, -1) << "the transfer did not end within its budget\n" << run.err;

  // However it went, the radio heard END last, before the host let go of the line.
  const auto end = log.rfind("host  END | 45 4E 44");
  ASSERT_NE(end, std::string::npos) << "the radio never heard END\n" << log;
  EXPECT_EQ(end, log.rfind("host  ")) << "END was not the last frame\n" << log;
  const auto closed = log.rfind("host closed the line");
  EXPECT_TRUE(closed != std::string::npos && end < closed) << log;

  const auto memory = bytesOf(path("after.img"));
  ASSERT_EQ(memory.size(), 0xD00u);
  const auto packed = bytesOf(path("packed.bin"));
  // The identification block the radio holds after a write carries its own capability byte (0).
  auto writtenImage = packed;
  writtenImage[0xB0C] = 0;
  const bool radioHoldsTheImage =
      std::equal(writtenImage.begin(), writtenImage.end(), memory.begin());

  switch (c.outcome) {
    case Outcome::Done:
      ASSERT_EQ(run.status, 0) << run.err;
      if (c.transfer == Transfer::Read) {
        // Exactly what the radio holds, as its image unpacks.
        writeBytes(path("held.bin"), std::vector<char>(memory.begin(), memory.begin() + 2832));
        ASSERT_EQ(cli({"unpack", path("held.bin"), "-o", path("expected.dat")}).status, 0);
        EXPECT_EQ(bytesOf(out), bytesOf(path("expected.dat")));
      } else if (c.transfer == Transfer::Info) {
        const auto record = nlohmann::json::parse(run.out);
        EXPECT_EQ(record["salesRegionCode"], "0595");
        EXPECT_EQ(record["serialNumber"], "SN-000123");
        EXPECT_EQ(record["repairReason"], "Cracked housing");
        EXPECT_EQ(record["dealerCode"], "DEALER-7");
      } else {
        EXPECT_TRUE(radioHoldsTheImage) << "the radio does not hold the image written";
        EXPECT_NE(
            run.err.find(c.transfer == Transfer::Write ? MessageText(9010) : MessageText(9078)),
            std::string::npos)
            << run.err;
      }
      break;
    case Outcome::Failed:
      EXPECT_EQ(run.status, 1) << run.err;
      EXPECT_NE(run.err.find("cps530-cli: "), std::string::npos) << "a failure says why\n"
                                                                 << run.err;
      EXPECT_EQ(run.err.find("[9"), std::string::npos) << "no text numbers\n" << run.err;
      EXPECT_EQ(run.err.find(MessageText(9010)), std::string::npos) << run.err;
      EXPECT_EQ(run.err.find(MessageText(9078)), std::string::npos) << run.err;
      EXPECT_EQ(bytesOf(out), bytesOf(path("doc.dat"))) << "the output file is untouched";
      EXPECT_TRUE(run.out.empty()) << run.out;
      if (std::string(fault.name) == "written blocks not stored") {
        // The check names where the radio differs and what is kept there.
        EXPECT_NE(run.err.find(MessageText(9077)), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("0x800 channel 1 present: written 0, the radio holds 1"),
                  std::string::npos)
            << run.err;
      }
      break;
    case Outcome::UnseenWithoutCheck:
      EXPECT_EQ(run.status, 0) << run.err;
      EXPECT_FALSE(radioHoldsTheImage) << "the fault was meant to lose a block";
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultMatrix, ::testing::ValuesIn(matrix()),
                         [](const ::testing::TestParamInfo<Case>& row) {
                           std::string name = faults()[row.param.fault].name + std::string("_") +
                                              transferName(row.param.transfer) +
                                              (row.param.echo ? "_echo" : "_plain");
                           for (auto& ch : name) {
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace cps::e2e
