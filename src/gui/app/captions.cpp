#include "gui/app/captions.hpp"

#include <QAbstractButton>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QWidget>

#include "gui/app/app_context.hpp"
#include "gui/app/child_window.hpp"

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

QHBoxLayout* CloseHelpRow(QWidget& window, AppContext& context) {
  auto* close = new QPushButton(QStringLiteral("关闭"));
  auto* help = new QPushButton(QStringLiteral("帮助"));
  close->setObjectName(QStringLiteral("CommandClose"));
  help->setObjectName(QStringLiteral("CommandHelp"));
  QObject::connect(close, &QPushButton::clicked, &window, [&window] { CloseChildWindow(window); });
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(close);
  row->addWidget(help);
  // The buttons are the window's once the row is in its layout; until then
  // they are captioned directly.
  close->setText(context.text(text::kCloseButton));
  help->setText(context.text(text::kHelpButton));
  help->setVisible(AppContext::kHelpSwitch);
  return row;
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
