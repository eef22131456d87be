// Builds a settings window's controls from its field table and keeps them and
// the document in step: a labelled row per field, every change stored at once
// through SetSetting, the enable rules applied after each store, the texts
// applied when asked. A settings window is then its table plus the rules the
// table cannot say.
#pragma once

#include <QObject>
#include <deque>
#include <span>
#include <string_view>
#include <vector>

#include "core/settings/setting_fields.hpp"

class QCheckBox;
class QGroupBox;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QTabWidget;
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
  // One tab per page, each holding the fields placed on it in columns.
  QTabWidget* buildTabs(std::span<const SettingField> fields, std::span<const SettingPage> pages,
                        const QString& name);
  // The fields on no page in columns, then one titled frame per page below them.
  QWidget* buildFrames(std::span<const SettingField> fields, std::span<const SettingPage> frames);

  // Labels, check box captions and list items (rewritten item by item, so that
  // repeating it never adds items).
  void applyTexts();
  // Every control shows its stored value: a value a list does not offer shows
  // the first item, a flag other than 1 shows unticked, a text box its text.
  // Lists drawn from the document are drawn again first. Nothing is stored.
  void showDocument();
  // What a window stores as it opens (the fields marked so), then showDocument.
  void openDocument(std::span<const SettingField> fields);
  void applyEnableRules();
  // Stores the control of `field` as it stands; a list without a selection
  // stores nothing.
  void store(const SettingField& field);
  // Text boxes that store when they are left (the DTMF ID code) store now.
  void commitEdits();

  QWidget* control(std::string_view name) const;
  const SettingField* fieldOfControl(std::string_view control) const;

 private:
  struct Row {
    const SettingField* field = nullptr;
    QLabel* label = nullptr;
    QComboBox* list = nullptr;
    QCheckBox* check = nullptr;
    QLineEdit* text = nullptr;
    QWidget* widget() const;
  };
  Row makeRow(const SettingField& field);
  QLineEdit* makeTextBox(const SettingField& field);
  const Row* rowOf(const SettingField& field) const;
  const Row* rowOf(const QObject* control) const;
  void equaliseListWidths();
  void refillDocumentLists();
  void storeText(const Row& row);
  bool textBoxKey(QKeyEvent& key);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  AppContext& m_context;
  DocumentObserver& m_observer;
  QWidget& m_window;
  std::deque<Row> m_rows;                // stays in place as rows are added
  bool m_showing = false;                // controls being filled: their signals store nothing
  const Row* m_pendingId = nullptr;      // the ID code box holds typing not yet stored
  std::span<const SettingPage> m_pages;  // the tabs' or frames' titles
  QTabWidget* m_tabs = nullptr;
  std::vector<QGroupBox*> m_frames;
};

}  // namespace cps::gui
