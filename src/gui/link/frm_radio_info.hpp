// The radio information window: the production and dealer data read from a
// radio's information area, for the dealer to look at. Nothing typed into it
// is kept, saved or written to a radio.
#pragma once

#include <QWidget>
#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace cps::gui {

class AppContext;

class FrmRadioInfo final : public QWidget {
 public:
  explicit FrmRadioInfo(AppContext& context, QWidget* parent = nullptr);

  // Shows the radio information record of the run in every control.
  void ShowByData();

  static constexpr int kTextBoxes = 12;
  static constexpr int kLabels = 14;

 private:
  void applyTexts();
  void limitRepairReason();
  void commandCloseClick();

  AppContext& m_context;
  QComboBox* m_model;
  QComboBox* m_band;
  // Text1(0) to Text1(11); Text1(4), the repair reason, is the multi-line box
  // and has no entry here.
  std::array<QLineEdit*, kTextBoxes> m_texts{};
  QPlainTextEdit* m_repairReason;
  // Label1(0) to Label1(13), then Label2.
  std::array<QLabel*, kLabels + 1> m_labels{};
  QGroupBox* m_dealer;
  QPushButton* m_close;
  QPushButton* m_help;
};

}  // namespace cps::gui
