// The first-run dialog: the user picks the port of the programming cable and
// the dialog sends the handshake there; only a radio that answers completes
// the first run. It talks on a port of its own, before the main window exists.
#pragma once

#include <QDialog>

#include "core/app/text_ids.hpp"
#include "core/link/link_check.hpp"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSerialPort;
class QTimer;

namespace cps::gui {

class AppContext;

inline constexpr const char* kCannotOpenPortText = "Cannot Open Communication Port.";
inline constexpr const char* kCommunicationErrorText = "Communication Error!";

class LoadFrmLink final : public QDialog {
 public:
  static constexpr int kLinkWaitMs = 300;  // for the radio's answer to one handshake
  static constexpr int kEndDelayMs = 100;  // between the answer and closing
  static constexpr int kReCommIntervalMs = 1000;

  explicit LoadFrmLink(AppContext& context, QWidget* parent = nullptr);
  ~LoadFrmLink() override;

  // Opens the dialog's port with the current port number; tells the user and
  // returns false when it cannot be opened.
  bool initComm2();
  // Sends the handshake under the current echo assumption and waits for the answer.
  void WriteLink2();
  // Handshakes that went unanswered since the last time the user was told.
  int linkAttempts() const { return m_check.attempts(); }

  // Closing always closes the port and ends every wait.
  void done(int result) override;

 private:
  void applyTexts();
  // Lists the ports again and shows the current one (the first when it is not
  // listed); the port number follows what is shown.
  void listPorts();
  void Combo1_Click();
  void Command1_Click();
  void MSComm1_OnComm();
  void LinkWaitTimer_Timer();
  void EndTimer_Timer();
  void closePort();

  AppContext& m_context;
  LinkCheck m_check;
  QComboBox* m_ports;
  QPlainTextEdit* m_instructions;
  QLabel* m_portLabel;
  QLabel* m_deviceLabel;
  QLabel* m_device;
  QPushButton* m_ok;
  QPushButton* m_cancel;
  QSerialPort* m_port;
  QTimer* m_linkWaitTimer;
  QTimer* m_endTimer;
  QTimer* m_reCommTimer;
};

}  // namespace cps::gui
