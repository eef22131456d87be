// Change Selected Channels: every field of the channel dialog that is not a
// frequency, each starting at "leave as it is"; the fields the user sets go
// to every selected channel, each through the rules of a single edit.
#pragma once

#include <QDialog>
#include <string>
#include <utility>
#include <vector>

class QComboBox;

namespace cps::gui {

class AppContext;

class FrmChangeChannels final : public QDialog {
 public:
  FrmChangeChannels(AppContext& context, int selectedCount, int group, QWidget* parent = nullptr);

  // The fields the user set, as field codes and the values an edit takes, in
  // the order they are to be applied.
  std::vector<std::pair<int, std::string>> edits() const;

 private:
  void applyExclusion();

  AppContext& m_context;
  std::vector<QComboBox*> m_lists;   // as the channel dialog's lists, top to bottom
  std::vector<QComboBox*> m_checks;  // as its check boxes: leave, on, off
};

}  // namespace cps::gui
