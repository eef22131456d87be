// The progress dialog a whole-radio read or write runs in: the bar, the
// percentage, the blocks moved and the time taken, and no way to close it
// until the transfer is over.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

class QLabel;
class QProgressBar;

namespace cps {
enum class TransferKind;
}

namespace cps::gui {

class AppContext;

class FrmProgress final : public QDialog {
 public:
  // `totalBlocks` is the number of 16-byte blocks the transfer moves; 0 hides the count.
  FrmProgress(AppContext& context, TransferKind kind, int totalBlocks, QWidget* parent = nullptr);

  // Percentage complete, 0 to 100; values outside are shown as the nearest end.
  void SetProgressValue(int percent);
  // Blocks moved so far, 0 to the total; values outside are shown as the nearest end.
  void setBlocksDone(int blocks);
  // Runs once, as soon as the dialog is on screen and its event loop runs: the
  // transfer starts from here, so that everything it shows appears over the dialog.
  void setStartAction(std::function<void()> action);
  // The transfer is over: the dialog closes.
  void finish();
  // A caption of its own instead of the transfer's (the read that checks a write).
  void setCaptionTextId(int textId);

  // Escape and the window's close do nothing while the transfer runs.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void applyTexts();
  void runStartAction();
  void showCountAndTime();
  QString countAndTimeText(int blocksDone, qint64 elapsedMs);

  AppContext& m_context;
  TransferKind m_kind;
  int m_totalBlocks;
  int m_blocksDone = 0;
  int m_captionTextId = 0;
  bool m_finished = false;
  bool m_started = false;
  std::function<void()> m_startAction;
  QElapsedTimer m_elapsed;
  QTimer m_clock;
  QProgressBar* m_bar;
  QLabel* m_percentLabel;
  QLabel* m_percent;
  QLabel* m_countAndTime;
};

}  // namespace cps::gui
