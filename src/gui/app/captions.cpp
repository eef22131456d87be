#include "gui/app/captions.hpp"

#include <QAbstractButton>
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

}  // namespace cps::gui
