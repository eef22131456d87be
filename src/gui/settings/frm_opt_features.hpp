// The optional features window: squelch, voice prompt, battery save, the
// time-out timer, VOX and the other radio-wide options, each change stored in
// the document at once; there is no OK or Cancel.
#pragma once

#include <QWidget>

#include "gui/app/reloads_from_document.hpp"

class QPushButton;

namespace cps {
class DocumentObserver;
}

namespace cps::gui {

class AppContext;
class SettingsBinder;

class FrmOptFeatures final : public QWidget, public ReloadsFromDocument {
 public:
  FrmOptFeatures(AppContext& context, DocumentObserver& observer, QWidget* parent = nullptr);

  // Stores one control: ids 0 to 11 the list Combo1(id), 20 to 25 the check
  // box Check1(id − 20); any other id stores nothing.
  void SaveOptFeat(int id);
  // True when `index` is not an item of list Combo1(list).
  bool NotInComboList(int list, int index) const;
  void ChangShowByLanguage();
  void reloadFromDocument() override;

 private:
  AppContext& m_context;
  SettingsBinder* m_binder;
  QPushButton* m_close;
  QPushButton* m_help;
};

}  // namespace cps::gui
