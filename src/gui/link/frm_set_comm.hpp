// The port dialog: one button per serial port 1 to 16, only the ports present
// on this computer enabled; OK makes the chosen port the one every transfer
// uses and keeps it in the language setup file.
#pragma once

#include <QDialog>
#include <array>

#include "core/app/text_ids.hpp"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;

namespace cps::gui {

class AppContext;

class FrmSetComm final : public QDialog {
 public:
  static constexpr int kPortButtons = 16;
  // Ports plugged in or removed while the dialog is open show within this time.
  static constexpr int kReCommIntervalMs = 1000;

  explicit FrmSetComm(AppContext& context, QWidget* parent = nullptr);

  void done(int result) override;

 private:
  void applyTexts();
  // Enables the buttons of the ports present now; the chosen button stays chosen.
  void showAvailability();
  // The device and USB adapter of the chosen port.
  void showChosenDevice();
  void CommandOK_Click();

  AppContext& m_context;
  QGroupBox* m_frame;
  std::array<QRadioButton*, kPortButtons> m_ports{};
  QLabel* m_deviceLabel;
  QLabel* m_device;
  std::array<QString, kPortButtons> m_devices;  // as shown, by port; empty: none
  QPushButton* m_ok;
  QPushButton* m_cancel;
  QTimer* m_reCommTimer;
};

}  // namespace cps::gui
