// Write to Several Radios: the document written to the radios on every ticked
// port at the same time, each in a session of its own with a bar and a state
// line; or, as a series on one port, one radio after another, counted, the
// next one started with Enter or as soon as a new radio answers. Cancel stops
// every session, each radio hearing END before its port closes.
#pragma once

#include <QDialog>
#include <QTimer>
#include <memory>
#include <vector>

#include "core/link/fleet.hpp"
#include "core/run_state.hpp"
#include "platform/fleet_session.hpp"

class QCheckBox;
class QGridLayout;
class QLabel;
class QProgressBar;
class QPushButton;

namespace cps::gui {

class AppContext;

class FrmWriteSeveral final : public QDialog {
 public:
  // `packed` holds the document with the image every radio is given.
  FrmWriteSeveral(AppContext& context, const RunState& packed, QWidget* parent = nullptr);
  ~FrmWriteSeveral() override;

  bool running() const;
  // The radios of this dialog so far, in order (a series adds one per radio).
  const std::vector<FleetRadio>& radios() const { return m_radios; }

  // A series that finds radios by their answer has seen the last radio taken
  // off the cable: the next radio that answers is written.
  bool readyForNextRadio() const {
    return m_seriesPort != 0 && !running() && m_pollTimer.isActive() && m_watch.lineClear();
  }

  // Escape stops what runs; with nothing running it closes the dialog.
  void reject() override;
  // Stops what runs, as Cancel does (a termination signal); true when
  // something ran. The dialog stays open.
  bool stop();

 private:
  struct Row {
    QLabel* port;
    QProgressBar* bar;
    QLabel* state;
  };

  void applyTexts();
  void start();
  // True when the ticked ports are distinct devices; otherwise says which are one.
  bool portsAreDistinct(const std::vector<int>& ticked);
  void startOne(int portNumber);
  void cancel();
  void nextInSeries();
  void pollForNextRadio();
  void sessionChanged(std::size_t index, const FleetRadio& radio);
  void afterSessions();
  void showButtons();
  void showCount();
  QString deviceOf(int portNumber) const;
  FleetTextOf textOf();

  AppContext& m_context;
  RunState m_packed;
  std::vector<std::pair<int, QCheckBox*>> m_portBoxes;  // port number, its box
  QCheckBox* m_verify;
  QCheckBox* m_series;
  QCheckBox* m_autoNext;
  QLabel* m_portsLabel;
  QLabel* m_count;
  QGridLayout* m_rowsLayout;
  QPushButton* m_start;
  QPushButton* m_next;
  QPushButton* m_cancel;
  QPushButton* m_close;
  QTimer m_pollTimer;
  std::unique_ptr<FleetBackup> m_backup;
  std::vector<std::unique_ptr<FleetSession>> m_sessions;
  std::vector<FleetRadio> m_radios;
  std::vector<Row> m_rows;
  NextRadioWatch m_watch;
  int m_seriesPort = 0;  // the port of the series running; 0: none
};

}  // namespace cps::gui
