// The model information dialog: the user picks the radio model and frequency
// band to program; a change, once confirmed, starts a new document for them.
#pragma once

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace cps::gui {

class AppContext;

class FrmModelInfo final : public QDialog {
 public:
  // `loadNewDoc` replaces the document by a new one for the current model and
  // band, without asking about unsaved changes (the question here covers that).
  FrmModelInfo(AppContext& context, std::function<void()> loadNewDoc, QWidget* parent = nullptr);

 private:
  void applyTexts();
  void showCurrent();
  void commandOkClick();

  AppContext& m_context;
  std::function<void()> m_loadNewDoc;
  QLabel* m_modelLabel;
  QLabel* m_bandLabel;
  QComboBox* m_models;
  QComboBox* m_bands;
  QPushButton* m_ok;
  QPushButton* m_cancel;
};

}  // namespace cps::gui
