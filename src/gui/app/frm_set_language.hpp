// The language dialog: the user picks English or Chinese for the program's
// texts; the choice is kept in the language setup for the next start.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace cps::gui {

class AppContext;

class FrmSetLanguage final : public QDialog {
 public:
  explicit FrmSetLanguage(AppContext& context, QWidget* parent = nullptr);

 private:
  void applyTexts();
  void commandOkClick();

  AppContext& m_context;
  QLabel* m_label;
  QComboBox* m_languages;
  QPushButton* m_ok;
  QPushButton* m_cancel;
};

}  // namespace cps::gui
