#include "cli/fleet_commands.hpp"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <iostream>
#include <memory>

#include "cli/session.hpp"
#include "core/link/fleet.hpp"
#include "core/link/radio_image.hpp"
#include "platform/fleet_session.hpp"
#include "platform/ports.hpp"
#include "platform/stop_signals.hpp"

#if __has_include(<poll.h>) && __has_include(<unistd.h>)
#include <poll.h>
#include <unistd.h>
#define CPS_HAVE_POLL 1
#endif

namespace cps::cli {

namespace {

// Between two handshakes that found no new radio.
constexpr int kPollPauseMs = 200;

bool isTerminal(int fd) {
#ifdef CPS_HAVE_POLL
  return ::isatty(fd) != 0;
#else
  (void)fd;
  return false;
#endif
}

// The lines of the radios while they are written. On a terminal every radio
// keeps its own line, redrawn in place; elsewhere a line is added each time a
// radio's stage changes, so that a log shows the course of every radio.
class FleetDisplay {
 public:
  FleetDisplay(std::ostream& err, FleetTextOf textOf, std::size_t portWidth)
      : m_err(err), m_textOf(std::move(textOf)), m_portWidth(portWidth), m_inPlace(isTerminal(2)) {}

  void add(const FleetRadio& radio) {
    m_radios.push_back(radio);
    if (m_inPlace) m_err << FleetProgressText(radio, m_textOf, m_portWidth) << '\n';
    m_err << std::flush;
  }

  void update(std::size_t index, const FleetRadio& radio) {
    const bool newStage = radio.stage != m_radios[index].stage;
    m_radios[index] = radio;
    if (!m_inPlace) {
      if (newStage) m_err << FleetProgressText(radio, m_textOf, m_portWidth) << '\n' << std::flush;
      return;
    }
    // Up to the first radio's line, then every line again.
    m_err << "\x1b[" << m_radios.size() << 'A';
    for (const auto& r : m_radios) {
      m_err << '\r' << FleetProgressText(r, m_textOf, m_portWidth) << "\x1b[K\n";
    }
    m_err << std::flush;
  }

 private:
  std::ostream& m_err;
  FleetTextOf m_textOf;
  std::size_t m_portWidth;
  bool m_inPlace;
  std::vector<FleetRadio> m_radios;
};

// The document packed into the image every radio is given.
bool prepare(Session& session, const std::string& file) {
  if (!session.open(file)) return false;
  auto& image = session.state().link.image;
  ClearImage(image);
  PackDocumentToImage(session.state(), image, session.codec());
  return true;
}

FleetSessionSettings settingsOf(Session& session, const RadioOptions& options,
                                FleetBackup& backup) {
  const auto& env = session.environment();
  return {session.versions(),
          [&session](int id) { return session.text(id); },
          env.folders.base,
          "cps530-cli",
          {options.yes, options.retries, options.password},
          options.verify,
          [&backup] { return backup(); }};
}

// The backup of what every radio is given; without a person to ask, a radio
// is not written without it.
FleetBackup backupOf(Session& session) {
  auto& err = session.environment().io.err;
  return FleetBackup(session.environment().folders.written.backups, session.state().link.image,
                     [&err](const std::string& error) {
                       err << "cps530-cli: " << error << '\n';
                       return false;
                     });
}

QString deviceOf(Session& session, const std::string& port) {
  const auto& env = session.environment();
  const QString device = DeviceForPort(port, env.folders.portMap());
  if (device.isEmpty()) {
    Message message = TextMessage(text::kCliPortNotInMap);
    message.arguments = {port, env.folders.portMap().string()};
    env.io.err << "cps530-cli: " << MessageBody(message, session.text(message.textId)) << '\n';
  }
  return device;
}

// Runs the sessions to their ends on one event loop.
void runAll(std::vector<std::unique_ptr<FleetSession>>& sessions, QEventLoop& loop) {
  for (auto& s : sessions) s->start();
  const auto allFinished = [&sessions] {
    return std::all_of(sessions.begin(), sessions.end(),
                       [](const auto& s) { return s->finished(); });
  };
  if (!allFinished()) loop.exec();
}

void printSummary(Session& session, const std::vector<FleetRadio>& radios, bool verify) {
  session.environment().io.out << FleetSummary(radios, verify, [&session](int id) {
    return session.text(id);
  }) << std::flush;
}

// What the user typed between two radios of a series, or the signal that stopped it.
enum class Typed { Nothing, Next, End, Stopped };

// Standard input between two radios of a series: a line takes the next radio,
// q or the end of input ends the series. A series that finds its radios by
// their answer (--auto) needs no input: when its input ends (a script, a
// service, < /dev/null) it goes on taking radios until a signal ends it.
class SeriesInput {
 public:
  SeriesInput(StopSignals& stop, bool autoNext) : m_stop(stop), m_autoNext(autoNext) {}

  // Waits up to `timeoutMs` (-1: until something comes) for a line or a stop signal.
  Typed wait(int timeoutMs) {
    if (m_stop.received() != 0) return Typed::Stopped;
#ifdef CPS_HAVE_POLL
    pollfd watched[2] = {{m_ended ? -1 : 0, POLLIN, 0}, {m_stop.descriptor(), POLLIN, 0}};
    const int ready = ::poll(watched, 2, timeoutMs);
    if (m_stop.received() != 0) return Typed::Stopped;
    if (ready <= 0 || m_ended || watched[0].revents == 0) return Typed::Nothing;
#else
    (void)timeoutMs;
    if (m_ended) return Typed::Nothing;
#endif
    std::string line;
    if (!std::getline(std::cin, line)) {
      m_ended = true;
      return m_autoNext ? Typed::Nothing : Typed::End;
    }
    return !line.empty() && (line[0] == 'q' || line[0] == 'Q') ? Typed::End : Typed::Next;
  }

  // Nothing more can be typed.
  bool ended() const { return m_ended; }

 private:
  StopSignals& m_stop;
  bool m_autoNext;
  bool m_ended = false;
};

// The status of a run that a signal may have ended.
int fleetStatus(StopSignals& stop, const std::vector<FleetRadio>& radios, bool verify) {
  if (stop.received() != 0) return stop.exitStatus();
  return FleetDone(radios, verify) ? kExitOk : kExitRefused;
}

}  // namespace

int RunFleetWrite(const std::string& file, const RadioOptions& options,
                  const std::vector<std::string>& ports, const Environment& env,
                  StopSignals& stop) {
  Session session(env);
  std::vector<QString> devices;
  std::vector<QString> realDevices;
  for (const auto& port : ports) {
    const QString device = deviceOf(session, port);
    if (device.isEmpty()) return kExitRefused;
    // Two sessions on one line would answer each other's radio, under one
    // name or two (a link such as /dev/serial/by-id/... and its device).
    const QString real = RealDevice(device);
    if (const auto seen = std::find(realDevices.begin(), realDevices.end(), real);
        seen != realDevices.end()) {
      const auto& first = ports[static_cast<std::size_t>(seen - realDevices.begin())];
      const bool sameName = first == port;
      Message twice = TextMessage(sameName ? text::kFleetPortTwice : text::kFleetSameDevice);
      twice.arguments = sameName ? std::vector<std::string>{port}
                                 : std::vector<std::string>{first, port, real.toStdString()};
      env.io.err << "cps530-cli: " << MessageBody(twice, session.text(twice.textId)) << '\n';
      return kExitUsage;
    }
    devices.push_back(device);
    realDevices.push_back(real);
  }
  if (!prepare(session, file)) return kExitRefused;
  if (options.noEcho) session.state().link.echoExpected = false;

  std::size_t portWidth = 0;
  for (const auto& port : ports) portWidth = std::max(portWidth, port.size());
  const FleetTextOf textOf = [&session](int id) { return session.text(id); };
  FleetDisplay display(env.io.err, textOf, portWidth);
  FleetBackup backup = backupOf(session);
  const auto settings = settingsOf(session, options, backup);

  QEventLoop loop;
  std::vector<std::unique_ptr<FleetSession>> sessions;
  std::vector<FleetRadio> radios;
  for (std::size_t i = 0; i < ports.size(); ++i) {
    radios.emplace_back().port = ports[i];
    display.add(radios.back());
    sessions.push_back(std::make_unique<FleetSession>(
        session.state(), QString::fromStdString(ports[i]), devices[i], settings,
        [&, i](const FleetRadio& radio) {
          radios[i] = radio;
          display.update(i, radio);
          if (std::all_of(radios.begin(), radios.end(),
                          [](const auto& r) { return FleetStageFinal(r.stage); })) {
            QTimer::singleShot(0, &loop, &QEventLoop::quit);
          }
        }));
  }
  {
    // A signal stops every radio as Cancel does in the desktop: each hears END.
    const StopSignals::Scope onStop(stop, [&sessions] {
      for (auto& s : sessions) s->cancel();
    });
    if (stop.received() != 0) {
      for (auto& s : sessions) s->cancel();
    } else {
      runAll(sessions, loop);
    }
  }
  // Every port is closed before the summary says the radios are done.
  sessions.clear();
  printSummary(session, radios, options.verify);
  return fleetStatus(stop, radios, options.verify);
}

int RunSeriesWrite(const std::string& file, const RadioOptions& options, bool autoNext,
                   const Environment& env, StopSignals& stop) {
  Session session(env);
  const QString device = deviceOf(session, options.port);
  if (device.isEmpty()) return kExitRefused;
  if (!prepare(session, file)) return kExitRefused;
  if (options.noEcho) session.state().link.echoExpected = false;

  const FleetTextOf textOf = [&session](int id) { return session.text(id); };
  FleetBackup backup = backupOf(session);
  const auto settings = settingsOf(session, options, backup);
  const auto say = [&](int id, std::vector<std::string> arguments = {}) {
    Message message = TextMessage(id);
    message.arguments = std::move(arguments);
    env.io.err << "cps530-cli: " << MessageBody(message, session.text(id)) << '\n' << std::flush;
  };

  SeriesInput input(stop, autoNext);
  std::vector<FleetRadio> radios;
  NextRadioWatch watch;
  bool ending = false;
  // The first radio is on the cable already, as for a single write.
  bool connected = !autoNext;
  while (!ending && stop.received() == 0) {
    // Said once the radio just written has been taken off: from then on a
    // radio that answers is the next one.
    bool told = false;
    for (int round = 0; !connected && !ending; ++round) {
      const Typed typed = input.wait(round == 0 ? 0 : kPollPauseMs);
      if (typed == Typed::End || typed == Typed::Stopped) {
        ending = true;
      } else if (typed == Typed::Next) {
        // Enter takes the radio on the cable whether or not it was seen to change.
        connected = true;
      } else {
        if (!told && watch.lineClear()) {
          say(input.ended() ? text::kFleetWaitingWithoutInput : text::kFleetWaitingForRadio,
              {options.port});
          told = true;
        }
        connected = watch.pollEnded(RadioAnswersHandshake(device));
      }
    }
    if (ending) break;
    Message numbered = TextMessage(text::kFleetRadioNumber);
    numbered.arguments = {std::to_string(radios.size() + 1)};
    const std::string name =
        MessageBody(numbered, session.text(numbered.textId)) + " " + options.port;
    FleetDisplay display(env.io.err, textOf, name.size());
    QEventLoop loop;
    radios.emplace_back().port = name;
    display.add(radios.back());
    std::vector<std::unique_ptr<FleetSession>> one;
    one.push_back(std::make_unique<FleetSession>(session.state(), QString::fromStdString(name),
                                                 device, settings, [&](const FleetRadio& radio) {
                                                   radios.back() = radio;
                                                   display.update(0, radio);
                                                   if (FleetStageFinal(radio.stage))
                                                     QTimer::singleShot(0, &loop,
                                                                        &QEventLoop::quit);
                                                 }));
    {
      const StopSignals::Scope onStop(stop, [&one] {
        for (auto& s : one) s->cancel();
      });
      if (stop.received() != 0) {
        one.front()->cancel();
      } else {
        runAll(one, loop);
      }
    }
    one.clear();
    // What the terminal shows of this radio is its result; the output has its
    // line too, so that a log counts the radios as they go.
    env.io.out << FleetProgressText(radios.back(), textOf, name.size()) << '\n' << std::flush;
    watch.radioHandled();
    connected = false;
    if (!autoNext && stop.received() == 0) {
      say(text::kFleetNextRadio);
      Typed typed = Typed::Nothing;
      while (typed == Typed::Nothing) typed = input.wait(-1);
      if (typed != Typed::Next) break;
      connected = true;
    }
  }
  printSummary(session, radios, options.verify);
  return fleetStatus(stop, radios, options.verify);
}

}  // namespace cps::cli
