// The question before a paste or a delete: Yes or No, and a box that stops
// the question from being asked again. Closing the window answers nothing.
#pragma once

#include <QDialog>

#include "core/document/prompter.hpp"

class QCheckBox;

namespace cps::gui {

class AppContext;

class FrmMsgConfirm final : public QDialog {
 public:
  FrmMsgConfirm(AppContext& context, ConfirmMode mode, QWidget* parent = nullptr);
  ConfirmAnswer answer() const;

 private:
  QCheckBox* m_dontAsk;
  ConfirmResult m_result = ConfirmResult::Closed;
};

}  // namespace cps::gui
