// One radio's write when one document goes to many radios: its own copy of
// the run's state, its own engine and its own port, so that radios written at
// the same time share nothing but the event loop. The write is followed, when
// asked, by a read in a session of its own that is compared with what was
// written. Nobody is asked anything: the answers are given up front.
#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "core/link/engine.hpp"
#include "core/link/fleet.hpp"
#include "core/run_state.hpp"
#include "platform/serial_link_host.hpp"

namespace cps {

struct VersionTable;

struct FleetSessionSettings {
  const VersionTable& versions;
  FleetTextOf textOf;
  std::filesystem::path baseFolder;
  std::filesystem::path executableName;
  FleetPrompter::Answers answers;
  bool verify = false;
  // Called when the radio has accepted the write, before its first block;
  // false stops this radio's write (the backup could not be kept). None: go on.
  std::function<bool()> beforeFirstBlock;
};

class FleetSession final : public QObject {
 public:
  // `state` holds the document with its image packed; it is copied. `port` is
  // the name the user gave, `device` the device it stands for.
  FleetSession(const RunState& state, QString port, QString device,
               const FleetSessionSettings& settings, std::function<void(const FleetRadio&)> changed,
               QObject* parent = nullptr);
  ~FleetSession() override;
  FleetSession(const FleetSession&) = delete;
  FleetSession& operator=(const FleetSession&) = delete;

  // Opens the port and sends the first handshake; a port that cannot be
  // opened fails this radio at once.
  void start();
  // Stops the write or its check: the radio hears END and the port closes.
  void cancel();

  const FleetRadio& radio() const { return m_radio; }
  bool finished() const { return FleetStageFinal(m_radio.stage); }

 private:
  void transferEnded(TransferKind kind, bool success);
  void startCheck();
  void fail(std::string reason);
  void takeIdentity();
  void tell();

  RunState m_state;
  RadioImage m_written{};
  FleetSessionSettings m_settings;
  FleetPrompter m_prompter;
  std::function<void(const FleetRadio&)> m_changed;
  SerialLinkHost m_host;
  ProtocolEngine m_engine;
  FleetRadio m_radio;
  bool m_cancelled = false;
};

// The image every radio of a fleet is given, kept once as a backup when the
// first radio has accepted the write: all of them are given the same image.
class FleetBackup {
 public:
  // `folder` empty: no backups are kept. `onFailure` is told what went wrong
  // and says whether to write without the backup.
  FleetBackup(std::filesystem::path folder, const RadioImage& image,
              std::function<bool(const std::string& error)> onFailure);
  // Each radio's write asks before its first block; the answer of the first is kept.
  bool operator()();

 private:
  std::filesystem::path m_folder;
  RadioImage m_image;
  std::function<bool(const std::string&)> m_onFailure;
  std::optional<bool> m_answer;
};

// Sends the handshake on the device and waits a moment for a radio to answer;
// a radio that answers is told END again before the port closes, so it is
// ready for the write. A device that cannot be opened has no radio.
bool RadioAnswersHandshake(const QString& device);

}  // namespace cps
