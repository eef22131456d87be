// The programming password dialog: the password the radio asks for, entered
// once and offered again for every later read and write of the run.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace cps::gui {

class AppContext;

class FrmPassWord final : public QDialog {
 public:
  explicit FrmPassWord(AppContext& context, QWidget* parent = nullptr);

  // Shows the dialog modally: the password now entered on OK, nullopt on Cancel.
  static std::optional<std::string> Ask(AppContext& context, QWidget* parent);

 private:
  void applyTexts();
  void commandOkClick();

  AppContext& m_context;
  QLabel* m_label;
  QLineEdit* m_password;
  QPushButton* m_ok;
  QPushButton* m_cancel;
};

}  // namespace cps::gui
