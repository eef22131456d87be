// What the channel table asks of the main window around it: its channel menu
// and buttons, the channel edit dialog and the tree. The main window answers;
// a test may answer instead.
#pragma once

class QPoint;

namespace cps::gui {

class ChannelWindowHost {
 public:
  virtual ~ChannelWindowHost() = default;
  // Shows or hides the channel edit menu and the channel command buttons.
  virtual void ShowCHInfo(bool show) = 0;
  // Enables the channel commands for channel `channelNumber` (1 to 128).
  virtual void UpdateChannelEditCommands(int channelNumber) = 0;
  // Opens the channel edit menu as a pop-up at a screen position.
  virtual void popUpChannelMenu(const QPoint& globalPosition) = 0;
  // Brings the channel edit dialog to the front, opening it when it is closed.
  virtual void showChannelEditDialog() = 0;
  // An open channel edit dialog shows the channel again; `followsGrid`: it
  // moves to the table's group and cursor first.
  virtual void reloadChannelEditDialog(bool followsGrid) = 0;
  virtual void LoadTree() = 0;
};

}  // namespace cps::gui
