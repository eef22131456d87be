#include "gui/settings/settings_window.hpp"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "gui/app/app_context.hpp"
#include "gui/app/captions.hpp"
#include "gui/settings/settings_binder.hpp"

namespace cps::gui {

SettingsWindow::SettingsWindow(AppContext& context, DocumentObserver& observer,
                               const char* builtInTitle, int titleTextId, QWidget* parent)
    : QWidget(parent),
      m_context(context),
      m_binder(new SettingsBinder(context, observer, *this)),
      m_titleTextId(titleTextId) {
  setWindowTitle(QString::fromUtf8(builtInTitle));
}

void SettingsWindow::finish(QWidget* controls, std::span<const SettingField> fields) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(controls);
  layout->addLayout(CloseHelpRow(*this, m_context));
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
