// What every radio-wide settings window shares: its controls built by the
// binder from its field table, Close and Help below them, the texts of its
// language, what it stores as it opens, and the registry's commit and reload.
// Each change is stored in the document at once; there is no OK or Cancel.
#pragma once

#include <QWidget>
#include <span>

#include "core/settings/setting_fields.hpp"
#include "gui/app/commits_edits.hpp"
#include "gui/app/reloads_from_document.hpp"

namespace cps {
class DocumentObserver;
}

namespace cps::gui {

class AppContext;
class SettingsBinder;

class SettingsWindow : public QWidget, public ReloadsFromDocument, public CommitsEdits {
 public:
  void ChangShowByLanguage();
  void reloadFromDocument() override;
  void commitEdits() override;

 protected:
  SettingsWindow(AppContext& context, DocumentObserver& observer, const char* builtInTitle,
                 int titleTextId, QWidget* parent);
  // Puts the controls above Close and Help, applies the texts and shows the
  // document, storing what the fields say a window stores as it opens.
  void finish(QWidget* controls, std::span<const SettingField> fields);
  void closeEvent(QCloseEvent* event) override;

  AppContext& m_context;
  SettingsBinder* m_binder;

 private:
  int m_titleTextId;
};

}  // namespace cps::gui
