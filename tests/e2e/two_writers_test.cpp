// Two programs changing one data file at the same moment: each change is
// stored, or its program is told the file is busy and changes nothing. A
// change lost while its program reports success never happens.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "process.hpp"

namespace cps::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A change, and how to see that the file holds it.
struct Change {
  std::vector<std::string> args;   // after the data file: {"set", FILE, ...} with FILE as "@"
  std::vector<std::string> check;  // a get or show that prints `expect`
  std::string expect;
};

struct Pairing {
  const char* what;
  Change first;
  Change second;
};

class TwoWritersTest : public ::testing::TestWithParam<Pairing> {
 protected:
  void SetUp() override {
    std::random_device random;
    m_dir = fs::temp_directory_path() / ("cps530-race-" + std::to_string(random()));
    fs::create_directories(m_dir);
    std::ofstream(m_dir / "list.csv") << "Location,Frequency\n9,445.500\n";
  }
  void TearDown() override { fs::remove_all(m_dir); }

  std::vector<std::string> command(const std::vector<std::string>& args) const {
    std::vector<std::string> out = {CPS_CLI, "--lang", "en"};
    for (const auto& a : args) {
      out.push_back(a == "@"      ? (m_dir / "f.dat").string()
                    : a == "@csv" ? (m_dir / "list.csv").string()
                                  : a);
    }
    return out;
  }

  bool holds(const Change& change) {
    Process p(command(change.check));
    const auto done = p.wait(30s);
    return done.status == 0 && done.out.find(change.expect) != std::string::npos;
  }

  fs::path m_dir;
};

TEST_P(TwoWritersTest, EveryChangeIsStoredOrItsProgramIsTold) {
  const Pairing& pairing = GetParam();
  const auto started = std::chrono::steady_clock::now();
  int rounds = 0;
  int bothStored = 0;
  // Bounded by time, so that a slow machine runs fewer rounds rather than longer.
  while (rounds < 60 && std::chrono::steady_clock::now() - started < 4s) {
    ++rounds;
    Process fresh(command({"new", "-o", "@"}));
    ASSERT_EQ(fresh.wait(30s).status, 0);
    Process a(command(pairing.first.args));
    Process b(command(pairing.second.args));
    const auto doneA = a.wait(30s);
    const auto doneB = b.wait(30s);
    for (const auto& [done, change] :
         {std::pair{doneA, pairing.first}, std::pair{doneB, pairing.second}}) {
      if (done.status == 0) {
        ASSERT_TRUE(holds(change))
            << "round " << rounds << ": a change reported as stored is lost: " << change.args[0]
            << " " << change.args.back();
      } else {
        ASSERT_EQ(done.status, 1) << done.err;
        EXPECT_NE(done.err.find("being changed by another program"), std::string::npos) << done.err;
        EXPECT_FALSE(holds(change)) << "a refused change must leave the file as it was";
      }
    }
    if (doneA.status == 0 && doneB.status == 0) ++bothStored;
  }
  EXPECT_GT(bothStored, 0) << "the second writer waits for the first rather than giving up";
}

INSTANTIATE_TEST_SUITE_P(
    Pairings, TwoWritersTest,
    ::testing::Values(
        Pairing{"two settings",
                {{"set", "@", "dtmf.rate", "300"}, {"get", "@", "dtmf.rate"}, "dtmf.rate 300"},
                {{"set", "@", "message.1", "R1"}, {"get", "@", "message.1"}, "R1"}},
        Pairing{"a setting of the side file and one of the data file",
                {{"set", "@", "alert.mode", "0"}, {"get", "@", "alert.mode"}, "alert.mode Off"},
                {{"set", "@", "message.2", "R2"}, {"get", "@", "message.2"}, "R2"}},
        Pairing{"a setting and an import",
                {{"set", "@", "message.3", "R3"}, {"get", "@", "message.3"}, "R3"},
                {{"import", "@", "@csv"}, {"show", "@"}, "445.50000"}},
        Pairing{"a channel edit and a setting",
                {{"edit", "@", "5", "rx", "445.125"}, {"show", "@"}, "445.12500"},
                {{"set", "@", "message.4", "R4"}, {"get", "@", "message.4"}, "R4"}}),
    [](const ::testing::TestParamInfo<Pairing>& info) {
      std::string name;
      for (const char c : std::string(info.param.what)) {
        if (std::isalnum(static_cast<unsigned char>(c))) name += c;
      }
      return name;
    });

}  // namespace
}  // namespace cps::e2e
