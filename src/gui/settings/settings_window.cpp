#include "gui/settings/settings_window.hpp"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/app/app_context.hpp"
#include "gui/app/captions.hpp"
#include "gui/app/child_window.hpp"
#include "gui/settings/settings_binder.hpp"

namespace cps::gui {

SettingsWindow::SettingsWindow(AppContext& context, DocumentObserver& observer,
                               const char* builtInTitle, int titleTextId, QWidget* parent)
    : QWidget(parent),
      m_context(context),
      m_binder(new SettingsBinder(context, observer, *this)),
      m_titleTextId(titleTextId),
      m_close(new QPushButton(QStringLiteral("关闭"))),
      m_help(new QPushButton(QStringLiteral("帮助"))) {
  setWindowTitle(QString::fromUtf8(builtInTitle));
  m_close->setObjectName(QStringLiteral("CommandClose"));
  m_help->setObjectName(QStringLiteral("CommandHelp"));
  connect(m_close, &QPushButton::clicked, this, [this] { CloseChildWindow(*this); });
}

void SettingsWindow::finish(QWidget* controls, std::span<const SettingField> fields) {
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_close);
  buttons->addWidget(m_help);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(controls);
  layout->addLayout(buttons);
  layout->addStretch();
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  ChangShowByLanguage();
  m_binder->openDocument(fields);
}

void SettingsWindow::ChangShowByLanguage() {
  setWindowTitle(m_context.text(m_titleTextId));
  m_binder->applyTexts();
  SetCloseHelpCaptions(*this, m_context);
}

void SettingsWindow::reloadFromDocument() { m_binder->showDocument(); }

void SettingsWindow::commitEdits() { m_binder->commitEdits(); }

void SettingsWindow::closeEvent(QCloseEvent* event) {
  commitEdits();
  QWidget::closeEvent(event);
}

}  // namespace cps::gui
