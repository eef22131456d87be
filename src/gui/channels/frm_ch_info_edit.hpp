// The channel edit dialog: every field of one channel beside the channel
// table, following the table's cursor. Each change is stored at once through
// ApplyChannelEdit; there is no OK or Cancel.
#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "gui/app/commits_edits.hpp"
#include "gui/app/reloads_from_document.hpp"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace cps {
class DocumentObserver;
struct ChannelDialogList;
struct ChannelEditingState;
}  // namespace cps

namespace cps::gui {

class AppContext;

class FrmCHInfoEdit final : public QWidget, public ReloadsFromDocument, public CommitsEdits {
 public:
  // `tableFollows` shows the dialog's group and position in the channel table when it is open.
  FrmCHInfoEdit(AppContext& context, DocumentObserver& observer, std::function<void()> tableFollows,
                QWidget* parent = nullptr);
  ~FrmCHInfoEdit() override;

  // Loads the channel: true takes group and position from the table, false from the dialog.
  void SetGridEditData(bool rIsGridChange);
  void ReShowEditTxFre(bool rOffSet);
  // False while the dialog fills its controls: what filling raises stores nothing.
  bool WandToSave = true;

  void commitEdits() override;
  void reloadFromDocument() override { SetGridEditData(false); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void ApplyEditLanguage();
  void showChannel(int number);
  void showEmptyPosition();
  void applyExclusion();
  void storeList(std::size_t index);
  void storeCheck(std::size_t index);
  void commitFrequency(QLineEdit& box);
  bool frequencyKey(QLineEdit& box, QKeyEvent& key);
  int position() const;
  void store(int fieldCode, const std::string& value);

  AppContext& m_context;
  DocumentObserver& m_observer;
  std::function<void()> m_tableFollows;
  ChannelEditingState& m_editing;

  QComboBox* m_group;     // Combo4
  QComboBox* m_position;  // Combo1
  QLineEdit* m_receive;   // Text1
  QLineEdit* m_transmit;  // Text2
  QLabel* m_groupLabel;
  QLabel* m_positionLabel;
  QLabel* m_receiveLabel;
  QLabel* m_transmitLabel;
  std::array<QComboBox*, 11> m_lists{};
  std::array<QLabel*, 11> m_listLabels{};
  std::array<QCheckBox*, 7> m_checks{};
  std::array<int, 11> m_shownItems{};  // the item each list showed for the channel
  bool m_receivePending = false;
  bool m_transmitPending = false;
  bool m_closed = false;
};

}  // namespace cps::gui
