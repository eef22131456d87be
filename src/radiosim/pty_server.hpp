// The virtual radio on a pseudo-terminal: the host opens the slave side as it
// would open the serial port of a programming cable; the radio answers on the
// master side, at the line's own speed when asked to.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <iosfwd>
#include <string>

#include "radiosim/line_pacer.hpp"

namespace cps::radiosim {

class RadioProtocol;
struct FeedResult;

struct ServerSettings {
  std::filesystem::path linkPath;  // a symbolic link to the line; empty: none
  std::filesystem::path savePath;  // the memory after every END and at the end; empty: none
  // End once the host closes the line after a transfer has ended.
  bool once = false;
  unsigned paceBaud = 0;  // 0: no pacing
  bool verbose = false;   // every frame in and out on the log
};

// An unfinished frame is given up after the line has been quiet this long. The
// host writes every frame in one piece and waits 150 ms for an answer, so a
// frame still unfinished after 100 ms was noise, and the radio is ready again
// before the host tries once more.
inline constexpr std::chrono::milliseconds kQuietLine{100};

class PtyServer {
 public:
  PtyServer(RadioProtocol& radio, ServerSettings settings, std::ostream& log);
  ~PtyServer();
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // Opens the pseudo-terminal in raw mode and makes the link. An error text,
  // empty on success.
  std::string open();
  // The slave side the host opens, as /dev/pts/N.
  const std::string& linePath() const { return m_linePath; }

  // Serves the line until stopFd becomes readable or, with once, the host
  // closes the line after a transfer ended; then saves the memory if asked.
  // An error text, empty on a clean end.
  std::string run(int stopFd);

 private:
  using Clock = LinePacer::Clock;
  struct OutByte {
    Clock::time_point at;
    std::uint8_t byte;
  };

  std::string readHost();
  std::string writeDue(Clock::time_point now);
  void deliver(const FeedResult& result, Clock::time_point now, bool paced);
  std::string handleLineEvents();
  std::string hostClosed();
  void save();
  void logLine(const std::string& line);
  void closeAll();

  RadioProtocol& m_radio;
  ServerSettings m_settings;
  std::ostream& m_log;
  LinePacer m_pacer;

  int m_master = -1;
  // The radio keeps the slave side open itself: the line then survives the host
  // closing and reopening its port between transfers, and keeps its raw mode.
  int m_slave = -1;
  int m_lineWatch = -1;  // opens and closes of the slave side
  std::string m_linePath;
  bool m_linkMade = false;

  std::deque<OutByte> m_out;
  bool m_outputBlocked = false;
  Clock::time_point m_started;
  Clock::time_point m_lastHostBytes;
  int m_hostOpens = 0;
  bool m_transferEnded = false;
  bool m_finishWhenSent = false;
  bool m_finished = false;
};

}  // namespace cps::radiosim
