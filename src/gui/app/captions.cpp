#include "gui/app/captions.hpp"

#include <QAbstractButton>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QWidget>

#include "gui/app/app_context.hpp"

namespace cps::gui {

namespace {

void caption(QWidget& window, const char* name, const QString& text) {
  for (auto* button : window.findChildren<QAbstractButton*>(QString::fromLatin1(name))) {
    button->setText(text);
  }
}

}  // namespace

void SetOkCancelCaptions(QWidget& window, AppContext& context) {
  caption(window, "CommandOK", context.text(text::kOkButton));
  caption(window, "CommandCancel", context.text(text::kCancelButton));
}

void SetCloseHelpCaptions(QWidget& window, AppContext& context) {
  caption(window, "CommandClose", context.text(text::kCloseButton));
  caption(window, "CommandHelp", context.text(text::kHelpButton));
  for (auto* help : window.findChildren<QAbstractButton*>(QStringLiteral("CommandHelp"))) {
    help->setVisible(AppContext::kHelpSwitch);
  }
}

QDialogButtonBox* OkCancelButtonBox(QDialog& dialog, QPushButton* ok, QPushButton* cancel) {
  ok->setObjectName(QStringLiteral("CommandOK"));
  cancel->setObjectName(QStringLiteral("CommandCancel"));
  auto* box = new QDialogButtonBox;
  box->addButton(ok, QDialogButtonBox::AcceptRole);
  box->addButton(cancel, QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  return box;
}

}  // namespace cps::gui
