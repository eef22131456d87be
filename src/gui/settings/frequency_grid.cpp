#include "gui/settings/frequency_grid.hpp"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <QTimer>
#include <exception>

#include "core/document/codec.hpp"
#include "core/run_state.hpp"
#include "core/settings/setting_fields.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/text_boxes.hpp"

namespace cps::gui {

FrequencyGrid::FrequencyGrid(AppContext& context, DocumentObserver& observer, QTableWidget& grid,
                             Rules rules)
    : QObject(&grid),
      m_context(context),
      m_observer(observer),
      m_grid(grid),
      m_box(new QLineEdit(grid.viewport())),
      m_rules(std::move(rules)) {
  m_box->setObjectName(QStringLiteral("Text1"));
  m_box->hide();
  m_box->setFrame(false);
  m_box->setAlignment(Qt::AlignCenter);
  m_box->setFocusPolicy(Qt::ClickFocus);  // no tab stop
  if (const SettingField* field = m_rules.fieldAt(1, 1)) {
    if (field->text.maxLength > 0) m_box->setMaxLength(field->text.maxLength);
    // Digits and the point, whatever way they come: no key chord, pop-up or
    // drop may leave a text behind that the cell would not store.
    GuardTextBox(*m_box, [field](QChar c) -> std::optional<QChar> {
      if (c.unicode() > 127) return std::nullopt;
      const auto accepted = AcceptedCharacter(*field, static_cast<char>(c.unicode()));
      if (!accepted) return std::nullopt;
      return QChar::fromLatin1(*accepted);
    });
  } else {
    GuardTextBox(*m_box);
  }
  m_box->installEventFilter(this);
  m_grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_grid.setSelectionMode(QAbstractItemView::SingleSelection);
  connect(m_box, &QLineEdit::textEdited, this, [this] { m_typed = true; });
  connect(&m_grid, &QTableWidget::currentCellChanged, this, [this] { enterCell(); });
  connect(&m_grid, &QTableWidget::cellClicked, this, [this] { enterCell(); });
}

void FrequencyGrid::showCell(int row, int column) {
  const SettingField* field = m_rules.fieldAt(row, column);
  QTableWidgetItem* item = m_grid.item(row - 1, column);
  if (field == nullptr || item == nullptr) return;
  const CodecContext codec{m_context.state.model.limits, m_context.prompter()};
  item->setText(
      QString::fromStdString(SettingText(m_context.state.workingDocument, *field, codec)));
}

void FrequencyGrid::showDocument() {
  for (int row = 1; row <= m_grid.rowCount(); ++row) {
    for (int column = 1; column < m_grid.columnCount(); ++column) showCell(row, column);
  }
}

void FrequencyGrid::enterCell() {
  const int row = m_grid.currentRow() + 1;
  const int column = m_grid.currentColumn();
  if (row < 1 || column < 1 || m_rules.fieldAt(row, column) == nullptr) return;
  if (row == m_row && column == m_column && m_box->isVisible()) return;
  commit();
  m_row = row;
  m_column = column;
  const QString text = m_grid.item(row - 1, column)->text();
  m_box->setText(m_rules.boxText ? m_rules.boxText(text) : text);
  m_typed = false;
  m_box->setGeometry(m_grid.visualRect(m_grid.model()->index(row - 1, column)));
  m_box->show();
  m_box->raise();
  m_box->setFocus();
  if (!m_box->text().isEmpty()) m_box->selectAll();
}

void FrequencyGrid::commit() {
  if (!m_typed || m_row < 1 || m_column < 1) return;
  m_typed = false;
  const SettingField* field = m_rules.fieldAt(m_row, m_column);
  if (field == nullptr) return;
  SetSetting(m_context.state, {m_context.prompter(), m_observer}, *field,
             m_box->text().toStdString());
  if (m_rules.shownAfterCommit) {
    m_grid.item(m_row - 1, m_column)->setText(m_rules.shownAfterCommit(m_box->text()));
  } else {
    showCell(m_row, m_column);
  }
}

bool FrequencyGrid::key(QKeyEvent& key) {
  if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
    const auto [row, column] = m_rules.nextCell(m_row, m_column, m_box->text());
    commit();
    m_grid.setCurrentCell(row - 1, column);
    enterCell();
    return true;
  }
  // Every character is the guard's to judge.
  return IsClipboardKey(key);
}

bool FrequencyGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_box) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::KeyPress:
      try {
        return key(*static_cast<QKeyEvent*>(event));
      } catch (const std::exception&) {
        m_context.prompter().ask(FixedMessage(m_rules.keyFailure));
        return true;
      }
    case QEvent::FocusOut:
      commit();
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace cps::gui
