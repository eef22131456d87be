// Builds a settings window's controls from its field table and keeps them and
// the document in step: a labelled row per field, every change stored at once
// through SetSetting, the enable rules applied after each store, the texts
// applied when asked. A settings window is then its table plus the rules the
// table cannot say.
#pragma once

#include <QObject>
#include <span>
#include <string_view>
#include <vector>

#include "core/settings/setting_fields.hpp"

class QCheckBox;
class QComboBox;
class QLabel;
class QWidget;

namespace cps {
class DocumentObserver;
}

namespace cps::gui {

class AppContext;

class SettingsBinder final : public QObject {
 public:
  SettingsBinder(AppContext& context, DocumentObserver& observer, QWidget& window);

  // The fields' controls in their columns, divided by a thin line, in a frame
  // named `frameName`. Labels sit right-aligned 100 twips left of their lists.
  QWidget* buildColumns(std::span<const SettingField> fields, const QString& frameName);

  // Labels, check box captions and list items (rewritten item by item, so that
  // repeating it never adds items).
  void applyTexts();
  // Every control shows its stored value: a value a list does not offer shows
  // the first item, a flag other than 1 shows unticked. Nothing is stored.
  void showDocument();
  void applyEnableRules();
  // Stores the control of `field` as it stands; a list without a selection
  // stores nothing.
  void store(const SettingField& field);

  QWidget* control(std::string_view name) const;
  const SettingField* fieldOfControl(std::string_view control) const;

 private:
  struct Row {
    const SettingField* field = nullptr;
    QLabel* label = nullptr;
    QComboBox* list = nullptr;
    QCheckBox* check = nullptr;
  };
  Row makeRow(const SettingField& field);
  const Row* rowOf(const SettingField& field) const;
  void equaliseListWidths();

  AppContext& m_context;
  DocumentObserver& m_observer;
  QWidget& m_window;
  std::vector<Row> m_rows;
  bool m_showing = false;  // controls being filled: their signals store nothing
};

}  // namespace cps::gui
