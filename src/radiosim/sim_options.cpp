#include "radiosim/sim_options.hpp"

#include <CLI/CLI.hpp>
#include <charconv>
#include <ostream>
#include <type_traits>

#include "cps/version.hpp"

namespace cps::radiosim {

namespace {

constexpr const char* kProgram = "cps530-radiosim";

// A whole number, decimal or with 0x in front; nothing else around it.
std::optional<unsigned long> parseNumber(const std::string& text) {
  std::string_view digits = text;
  int base = 10;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    digits.remove_prefix(2);
    base = 16;
  }
  unsigned long value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (digits.empty() || ec != std::errc{} || end != digits.data() + digits.size()) {
    return std::nullopt;
  }
  return value;
}

struct NumberOption {
  std::string text;
  const char* name;
  unsigned long max;
};

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv, std::ostream& out,
                             std::ostream& err) {
  CLI::App app{
      "cps530-radiosim: a virtual TW530/TW530G radio on a pseudo-terminal. It prints the "
      "line's path (/dev/pts/N) as its first line and answers the programming protocol there "
      "until SIGINT or SIGTERM."};
  app.name(kProgram);

  SimOptions options;
  std::string image;
  std::string dat;
  std::string save;
  std::string link;
  std::string password;
  NumberOption bandCode{"0", "--band-code", 0xFF};
  NumberOption caps{"0", "--caps", 0xFF};
  NumberOption pace{"0", "--pace", 1'000'000};
  NumberOption dropEvery{"0", "--drop-every", 0xFFFFFFFF};
  NumberOption corruptEvery{"0", "--corrupt-every", 0xFFFFFFFF};
  NumberOption retryEvery{"0", "--retry-every", 0xFFFFFFFF};
  NumberOption muteAfter{"", "--mute-after", 0xFFFFFFFF};
  NumberOption cutEvery{"0", "--cut-every", 0xFFFFFFFF};
  NumberOption noiseEvery{"0", "--noise-every", 0xFFFFFFFF};
  NumberOption forgetEvery{"0", "--forget-every", 0xFFFFFFFF};

  auto* imageOption = app.add_option(
      "--image", image, "Memory image to start from: 3328 bytes, addresses 0x000 to 0xCFF");
  auto* datOption = app.add_option(
      "--dat", dat, "Data file (8595 bytes) to start from, packed as a write would pack it");
  imageOption->excludes(datOption);
  app.add_option("--save", save, "Write the memory to FILE after every END and at the end");
  app.add_option("--link", link, "Make a symbolic link PATH to the line (removed at the end)");
  app.add_flag("--once", options.once,
               "End when the host closes the line after a transfer ended (END)");
  app.add_option("--model", options.identity.model, "Model name the radio reports (up to 7)")
      ->capture_default_str();
  app.add_option("--band-code", bandCode.text, "Band code the radio reports, 0 to 255")
      ->capture_default_str();
  app.set_version_flag("--version",
                       std::string(kProgram) + " " + std::string(cps::kReleaseVersion));
  app.add_option("--firmware", options.identity.version,
                 "Firmware version the radio reports (up to 4)")
      ->capture_default_str();
  app.add_option("--caps", caps.text, "Capability byte the radio reports, 0 to 255 (or 0x..)")
      ->capture_default_str();
  auto* passwordOption = app.add_option(
      "--password", password, "Programming password at 0xB3C, up to 4 characters (default: none)");
  app.add_flag("--echo", options.echo, "Play an echoing cable: every byte is returned first");
  app.add_option("--pace", pace.text,
                 "The line's speed in baud (10 bits a byte, both ways); 0: no pacing")
      ->capture_default_str();
  app.add_option("--drop-every", dropEvery.text,
                 "Fault: every Nth frame heard is acted on but its answer is lost");
  app.add_option("--corrupt-every", corruptEvery.text,
                 "Fault: every Nth block sent carries a wrong checksum");
  app.add_option("--retry-every", retryEvery.text,
                 "Fault: every Nth block written is answered 0x0A and not stored");
  app.add_option("--mute-after", muteAfter.text, "Fault: fall silent after N answers");
  app.add_option("--cut-every", cutEvery.text,
                 "Fault: every Nth answer is cut short (its second half is lost)");
  app.add_option("--noise-every", noiseEvery.text,
                 "Fault: every Nth answer has line noise (00 FF 55) in front of it");
  app.add_option("--forget-every", forgetEvery.text,
                 "Fault: every Nth block written is acknowledged but not stored");
  app.add_flag("--verbose", options.verbose, "Every frame in and out on stderr, in hex");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e, out, err);
    return {std::nullopt, code == 0 ? kExitOk : kExitUsage};
  }

  const auto refuse = [&err](const std::string& why) {
    err << kProgram << ": " << why << "\nRun with --help for more information.\n";
    return CommandLine{std::nullopt, kExitUsage};
  };
  std::string problem;
  const auto take = [&problem](const NumberOption& option, auto& into) {
    if (!problem.empty() || option.text.empty()) return;
    const auto value = parseNumber(option.text);
    if (!value || *value > option.max) {
      problem = std::string(option.name) + " takes a whole number from 0 to " +
                std::to_string(option.max) + ", not \"" + option.text + "\"";
      return;
    }
    into = static_cast<std::remove_reference_t<decltype(into)>>(*value);
  };
  take(bandCode, options.identity.bandCode);
  take(caps, options.identity.capabilities);
  take(pace, options.paceBaud);
  take(dropEvery, options.faults.dropEvery);
  take(corruptEvery, options.faults.corruptEvery);
  take(retryEvery, options.faults.retryEvery);
  take(cutEvery, options.faults.cutEvery);
  take(noiseEvery, options.faults.noiseEvery);
  take(forgetEvery, options.faults.forgetEvery);
  unsigned mute = 0;
  take(muteAfter, mute);
  if (!problem.empty()) return refuse(problem);
  if (!muteAfter.text.empty()) options.faults.muteAfter = mute;

  if (auto why = CheckIdentity(options.identity); !why.empty()) return refuse(why);
  if (passwordOption->count() > 0) {
    if (auto why = CheckPassword(password); !why.empty()) return refuse(why);
    options.password = password;
  }
  options.imagePath = image;
  options.datPath = dat;
  options.savePath = save;
  options.linkPath = link;
  return {options, kExitOk};
}

MemoryResult StartingMemory(const SimOptions& options) {
  MemoryResult result;
  if (!options.imagePath.empty()) {
    result = LoadMemoryImage(options.imagePath);
  } else if (!options.datPath.empty()) {
    result = PackDataFile(options.datPath);
  } else {
    result.memory = ErasedMemory();
  }
  if (!result.memory) return result;
  // A read of the block at 0xB00 then shows what the identification reply says,
  // as on a radio that was written by the program.
  WriteIdentification(*result.memory, options.identity);
  if (options.password) WritePassword(*result.memory, *options.password);
  return result;
}

}  // namespace cps::radiosim
