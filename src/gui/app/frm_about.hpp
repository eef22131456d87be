// The about box: the program's name, version and what it is for, in the
// user's language.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace cps::gui {

class AppContext;

class FrmAbout final : public QDialog {
 public:
  explicit FrmAbout(AppContext& context, QWidget* parent = nullptr);

 private:
  void applyTexts();

  AppContext& m_context;
  QLabel* m_icon;
  QLabel* m_title;
  QLabel* m_version;
  QLabel* m_description;
  QLabel* m_description2;
  QPushButton* m_ok;
};

}  // namespace cps::gui
