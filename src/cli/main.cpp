// cps530-cli: the document of a TW530 or TW530G radio from a terminal.
#include <CLI/CLI.hpp>
#include <QCoreApplication>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string_view>

#include "cli/commands.hpp"
#include "cli/compare_commands.hpp"
#include "cli/exchange_commands.hpp"
#include "cli/fleet_commands.hpp"
#include "cli/radio_commands.hpp"
#include "cli/setting_commands.hpp"
#include "cli/usage_error.hpp"
#include "core/app/text_ids.hpp"
#include "core/document/records.hpp"
#include "cps/version.hpp"
#include "platform/stop_signals.hpp"

namespace {

namespace fs = std::filesystem;

constexpr const char* kForceHelp =
    "Replace the output even when it holds a data file of this program, the input itself, or "
    "something else than this command writes";

// The folder of this executable: the program folder of the portable layout,
// where the language files and the initial files are.
fs::path programFolder(const char* argv0) {
  std::error_code ec;
  auto self = fs::canonical("/proc/self/exe", ec);
  if (ec) self = fs::weakly_canonical(fs::absolute(argv0, ec), ec);
  return self.parent_path();
}

// The language of the setup file, else Chinese on a Chinese (PRC) system, else English.
int chooseLanguage(const std::string& option, const cps::ProgramFolders& folders) {
  if (option == "zh") return cps::kChinese;
  if (option == "en") return cps::kEnglish;
  const int stored = cps::ReadLanguageSetup(folders.languageSetup()).currentLanguage;
  if (stored == cps::kEnglish || stored == cps::kChinese) return stored;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') {
      return std::string(value).rfind("zh_CN", 0) == 0 ? cps::kChinese : cps::kEnglish;
    }
  }
  return cps::kEnglish;
}

// What the command line names before CLI11 reads it: the language asked for
// and the first word that is no option, which must be a verb.
struct FirstWords {
  std::string language;
  std::string verb;
};

FirstWords firstWords(int argc, char** argv) {
  FirstWords words;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    std::string_view language;
    if (arg == "--lang" && i + 1 < argc) {
      language = argv[++i];
    } else if (arg.starts_with("--lang=")) {
      language = arg.substr(7);
    } else if (!arg.starts_with("-") && words.verb.empty()) {
      words.verb = std::string(arg);
    }
    // A language the program does not speak is refused in the last one it does.
    if (language == "en" || language == "zh") words.language = std::string(language);
  }
  return words;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace cps::cli;

  CLI::App app{"cps530-cli: make, show, dump and edit TW530/TW530G data files"};
  app.require_subcommand(1);
  app.fallthrough();  // --lang may also follow the verb
  std::string language;
  app.add_option("--lang", language, "Language of the messages: en or zh")
      ->check(CLI::IsMember({"en", "zh"}));
  app.set_version_flag("--version", "cps530-cli " + std::string(cps::kReleaseVersion) +
                                        " (data files " + std::string(cps::kProgramVersion) + ")");
  app.footer(
      "Exit status: 0 done; 1 a file, value or radio refused (stderr says what and why); 2 the "
      "command line itself is wrong (an unknown verb, option, setting or field name, or a "
      "missing value); 130, 143 or 129 a transfer stopped by SIGINT (Ctrl+C), SIGTERM or "
      "SIGHUP, every radio told to leave programming mode.");

  NewOptions newOptions;
  auto* newCmd = app.add_subcommand("new", "Write the default document of a model and band");
  newCmd
      ->add_option("-o,--output", newOptions.output, "Data file to write (its .NVD side file too)")
      ->required();
  newCmd->add_option("--model", newOptions.model, "TW530 or TW530G")->capture_default_str();
  newCmd->add_option("--band", newOptions.band, "Band label, e.g. \"136 - 174 MHz\"")
      ->capture_default_str();
  newCmd->add_option("--init-dir", newOptions.initDir,
                     "Folder of the initial files (default: Init beside the program)");
  newCmd->add_flag("--initialise", newOptions.initialise,
                   "Keep every channel of the band's initial file, not only channel 1");
  newCmd->add_flag("--force", newOptions.force, kForceHelp);

  std::string showFile;
  bool showOffsets = false;
  auto* showCmd = app.add_subcommand("show", "Print model, band and the channel list");
  showCmd->add_option("FILE", showFile, "Data file")->required();
  showCmd->add_flag("--offset-mode", showOffsets, "Show the signed offset instead of TX");

  std::string dumpFile;
  bool dumpJson = false;
  auto* dumpCmd = app.add_subcommand("dump", "Print every field of a data file");
  dumpCmd->add_option("FILE", dumpFile, "Data file")->required();
  dumpCmd->add_flag("--json", dumpJson, "As JSON (the only form so far)");

  EditOptions editOptions;
  auto* editCmd = app.add_subcommand(
      "edit",
      "Change fields of one channel and save the file.\nFields:" + EditFieldList() +
          "\nTones: 67.0, 023N, 023I, none or the tone index; other fields: the stored number."
          "\nA channel is created by giving its rx; rx \"\" removes it.");
  editCmd->add_option("FILE", editOptions.file, "Data file")->required();
  editCmd->add_flag("--offset-mode", editOptions.offsetMode,
                    "tx is a signed offset (+5, -0.6) instead of a transmit frequency");
  editCmd->add_option("CHANNEL", editOptions.channel, "Channel 1 to 128")->required();
  editCmd->add_option("FIELD_VALUE", editOptions.pairs, "FIELD VALUE [FIELD VALUE ...]")
      ->required()
      ->expected(2, -1);

  // The settings' help reads the English texts beside the program, so it is
  // made only when asked for.
  const auto settingsHelp = [argv0 = argv[0]] {
    return SettingNamesHelp(cps::ProgramFolders::OfProgramFolder(programFolder(argv0)));
  };
  std::string getFile;
  std::vector<std::string> getNames;
  auto* getCmd = app.add_subcommand(
      "get", "Print radio-wide settings as NAME VALUE lines (all when no NAME is given)");
  getCmd->add_option("FILE", getFile, "Data file")->required();
  getCmd->add_option("NAME", getNames, "Settings to print");
  getCmd->footer([settingsHelp] {
    return "VALUE is what the file stores, as a POSIX shell word: bare when it holds only "
           "letters, digits and ._-+:/,=@%, otherwise quoted.\nA stored number that no item "
           "of its list names is printed as =N (for example =0); in a text a byte below 32 or "
           "above 126 is printed as \\xHH and a backslash as \\\\.\nset takes every line "
           "back and leaves the file byte for byte as it was.\n" +
           settingsHelp();
  });

  SetOptions setOptions;
  auto* setCmd = app.add_subcommand("set", "Change radio-wide settings and save the file");
  setCmd->add_option("FILE", setOptions.file, "Data file")->required();
  setCmd->add_option("NAME_VALUE", setOptions.pairs, "NAME VALUE [NAME VALUE ...]")
      ->required()
      ->expected(2, -1);
  setCmd->footer([settingsHelp] {
    return "Every pair is checked first and the file is saved only when all are accepted.\n"
           "A VALUE as get prints it keeps what is stored: =N a number no item names, \\xHH a "
           "byte of a text (\\\\ a backslash). =N sets a number only where an item stores it.\n" +
           settingsHelp();
  });

  RadioOptions radio;
  const auto addRadioOptions = [&radio](CLI::App* cmd) {
    cmd->add_option("--port", radio.port, "Serial device path, or COMn")->required();
    cmd->add_option("--password", radio.password,
                    "The radio's programming password, when it asks for one");
    cmd->add_flag("--yes", radio.yes, "Answer OK when the radio's band differs (same group)");
    cmd->add_option("--retries", radio.retries,
                    "Retry a failed transfer this many times without asking")
        ->check(CLI::NonNegativeNumber);
    cmd->add_flag("--no-echo", radio.noEcho,
                  "The cable does not echo what is sent (the first answer tells anyway)");
  };
  std::string readOutput;
  auto* readCmd = app.add_subcommand("read", "Read a whole radio into a data file");
  addRadioOptions(readCmd);
  readCmd->add_option("-o,--output", readOutput, "Data file to write after a successful read")
      ->required();
  bool readForce = false;
  readCmd->add_flag("--force", readForce, kForceHelp);

  std::string writeFile;
  auto* writeCmd = app.add_subcommand("write", "Write a data file to a radio, or to several");
  writeCmd->add_option("FILE", writeFile, "Data file")->required();
  addRadioOptions(writeCmd);
  // Several --port: every radio at the same time, each on its own port.
  std::vector<std::string> writePorts;
  writeCmd->get_option("--port")
      ->description(
          "Serial device path, or COMn; once more for each radio written at the same time")
      ->each([&writePorts](const std::string& port) { writePorts.push_back(port); })
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
      ->expected(1);
  bool writeSeries = false;
  bool writeAuto = false;
  auto* seriesFlag = writeCmd->add_flag(
      "--series", writeSeries,
      "One radio after another on one port: after each, connect the next and press Enter; "
      "q or the end of input ends the series. Ctrl+C (or SIGTERM, SIGHUP) stops the radio "
      "being written (it is told to leave programming mode) and ends the series with the "
      "summary");
  writeCmd
      ->add_flag("--auto", writeAuto,
                 "With --series: start the next write as soon as a new radio answers, "
                 "without Enter; needs no input (q ends it, Ctrl+C or SIGTERM too, the end of "
                 "input does not)")
      ->needs(seriesFlag);
  writeCmd->add_flag("--verify", radio.verify,
                     "Read the radio back after the write and compare; a difference, or a radio "
                     "that cannot be read back, fails the write");

  bool infoJson = false;
  auto* infoCmd = app.add_subcommand("info", "Read the radio's production and dealer data");
  addRadioOptions(infoCmd);
  infoCmd->add_flag("--json", infoJson, "As JSON");

  std::string packFile;
  std::string packOutput;
  auto* packCmd = app.add_subcommand("pack", "Pack a data file into a radio image (2832 bytes)");
  packCmd->add_option("FILE", packFile, "Data file")->required();
  packCmd->add_option("-o,--output", packOutput, "Image file to write")->required();
  bool packForce = false;
  packCmd->add_flag("--force", packForce, kForceHelp);

  std::string unpackImage;
  std::string unpackOutput;
  auto* unpackCmd = app.add_subcommand("unpack", "Unpack a radio image into a data file");
  unpackCmd->add_option("IMAGE", unpackImage, "Image file (2832 bytes)")->required();
  unpackCmd->add_option("-o,--output", unpackOutput, "Data file to write")->required();
  bool unpackForce = false;
  unpackCmd->add_flag("--force", unpackForce, kForceHelp);

  DiffOptions diffOptions;
  ReportOptions reportOptions;
  auto* diffCmd = AddDiffVerb(app, diffOptions);
  auto* reportCmd = AddReportVerb(app, reportOptions);
  ExchangeCommands exchange(app);

  const auto folders = cps::DecideProgramFolders(cps::ProbeInstallation(programFolder(argv[0])));
  const FirstWords words = firstWords(argc, argv);
  std::string verbs;
  for (const CLI::App* verb : app.get_subcommands([](CLI::App*) { return true; })) {
    verbs += (verbs.empty() ? " " : ", ") + verb->get_name();
  }
  // Before the parser has read --lang, and even when it refuses it, the
  // messages speak the language the command line asks for where it can.
  const Environment early{{std::cout, std::cerr}, folders, chooseLanguage(words.language, folders)};
  if (!words.verb.empty() &&
      app.get_subcommands([&words](CLI::App* verb) { return verb->get_name() == words.verb; })
          .empty()) {
    return UnknownVerb(words.verb, verbs, early);
  }

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::cerr << UsageErrorText(
        e, {std::vector<std::string>(argv + 1, argv + argc), words.verb, verbs}, early);
    return kExitUsage;
  }

  const Environment env{{std::cout, std::cerr}, folders, chooseLanguage(language, folders)};
  try {
    if (const auto status = exchange.run(env)) return *status;
    if (*newCmd) return RunNew(newOptions, env);
    if (*showCmd) return RunShow(showFile, showOffsets, env);
    if (*dumpCmd) return RunDump(dumpFile, env);
    if (*editCmd) return RunEdit(editOptions, env);
    if (*getCmd) return RunGet(getFile, getNames, env);
    if (*setCmd) return RunSet(setOptions, env);
    if (*packCmd) return RunPack(packFile, packOutput, packForce, env);
    if (*unpackCmd) return RunUnpack(unpackImage, unpackOutput, unpackForce, env);
    if (*diffCmd) return RunDiff(diffOptions, env);
    if (*reportCmd) return RunReport(reportOptions, env);
    // The serial port and its timers run on a Qt event loop. An installed
    // program numbers the ports in the user's own port map.
    if (const auto error = cps::PrepareUserFolders(folders); !error.empty()) {
      std::cerr << "cps530-cli: " << error << '\n';
    }
    QCoreApplication qt(argc, argv);
    // From here Ctrl+C, kill and a closed terminal stop the radios' transfers
    // properly (END on every line, the summary) instead of ending the program.
    cps::StopSignals stop;
    if (*readCmd) return RunRead(radio, readOutput, readForce, env, stop);
    if (*writeCmd) {
      if (writeSeries && writePorts.size() > 1) {
        std::cerr << "cps530-cli: " << CliText(env, cps::text::kFleetSeriesOnePort) << '\n';
        return kExitUsage;
      }
      if (writeSeries) return RunSeriesWrite(writeFile, radio, writeAuto, env, stop);
      if (writePorts.size() > 1) return RunFleetWrite(writeFile, radio, writePorts, env, stop);
      return RunWrite(writeFile, radio, env, stop);
    }
    if (*infoCmd) return RunInfo(radio, infoJson, env, stop);
  } catch (const std::exception& e) {
    std::cerr << "cps530-cli: " << e.what() << '\n';
    return kExitRefused;
  }
  return kExitUsage;
}
