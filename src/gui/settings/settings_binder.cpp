#include "gui/settings/settings_binder.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "core/run_state.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/enter_as_tab.hpp"

namespace cps::gui {

namespace {

// 100 twips between a label's right edge and its control: 15 twips a pixel.
constexpr int kLabelGap = 7;
// Controls under the check box that enables them sit this far to the right.
constexpr int kIndent = 20;
constexpr int kListMinimumWidth = 110;

QFormLayout* newForm() {
  auto* form = new QFormLayout;
  form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  form->setFormAlignment(Qt::AlignLeft | Qt::AlignTop);
  form->setHorizontalSpacing(kLabelGap);
  form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  return form;
}

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

SettingsBinder::SettingsBinder(AppContext& context, DocumentObserver& observer, QWidget& window)
    : QObject(&window), m_context(context), m_observer(observer), m_window(window) {}

SettingsBinder::Row SettingsBinder::makeRow(const SettingField& field) {
  Row row;
  row.field = &field;
  const QString name = fromUtf8(field.control);
  if (field.kind == SettingKind::Check) {
    row.check = new QCheckBox(fromUtf8(field.caption));
    row.check->setObjectName(name);
    EnterAsTab::install(*row.check);
    connect(row.check, &QCheckBox::toggled, this, [this, &field] {
      if (!m_showing) store(field);
    });
    return row;
  }
  row.label = new QLabel(fromUtf8(field.caption));
  // Label1(n) belongs to Combo1(n).
  row.label->setObjectName(QString(name).replace(QStringLiteral("Combo"), QStringLiteral("Label")));
  row.list = new QComboBox;
  row.list->setObjectName(name);
  row.list->setEditable(false);
  row.list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  for (const auto& item :
       ItemTexts(m_context.state.workingDocument, field, m_context.langTextFunction())) {
    row.list->addItem(QString::fromStdString(item));
  }
  row.label->setBuddy(row.list);
  EnterAsTab::install(*row.list);
  connect(row.list, &QComboBox::currentIndexChanged, this, [this, &field] {
    if (!m_showing) store(field);
  });
  return row;
}

QWidget* SettingsBinder::buildColumns(std::span<const SettingField> fields,
                                      const QString& frameName) {
  auto* frame = new QFrame;
  frame->setObjectName(frameName);
  frame->setFrameShape(QFrame::StyledPanel);
  auto* columns = new QHBoxLayout(frame);

  std::array<QVBoxLayout*, 2> boxes{new QVBoxLayout, new QVBoxLayout};
  // The form the next list joins, per column; a check box of its own ends it.
  std::array<QFormLayout*, 2> forms{};
  std::array<bool, 2> formIndented{};
  for (const auto& field : fields) {
    Row row = makeRow(field);
    const std::size_t column = field.place.column == 0 ? 0 : 1;
    const bool indented = field.place.indented;
    if (forms[column] == nullptr || formIndented[column] != indented ||
        (row.check != nullptr && !indented)) {
      forms[column] = nullptr;
    }
    if (row.check != nullptr && !indented) {
      boxes[column]->addWidget(row.check);
    } else {
      if (forms[column] == nullptr) {
        forms[column] = newForm();
        formIndented[column] = indented;
        if (indented) forms[column]->setContentsMargins(kIndent, 0, 0, 0);
        boxes[column]->addLayout(forms[column]);
      }
      if (row.check != nullptr) {
        forms[column]->addRow(row.check);
      } else {
        forms[column]->addRow(row.label, row.list);
      }
    }
    if (field.place.hidden) {
      if (row.check != nullptr) row.check->setVisible(false);
      if (row.list != nullptr) row.list->setVisible(false);
      if (row.label != nullptr) row.label->setVisible(false);
    }
    m_rows.push_back(row);
  }
  auto* line = new QFrame;
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  for (auto* box : boxes) box->addStretch();
  columns->addLayout(boxes[0]);
  columns->addWidget(line);
  columns->addLayout(boxes[1]);
  return frame;
}

void SettingsBinder::applyTexts() {
  const auto textOf = m_context.langTextFunction();
  m_showing = true;
  for (const Row& row : m_rows) {
    const SettingField& field = *row.field;
    if (row.check != nullptr) {
      row.check->setText(m_context.text(field.labelTextId));
      continue;
    }
    row.label->setText(m_context.text(field.labelTextId));
    const auto items = ItemTexts(m_context.state.workingDocument, field, textOf);
    if (static_cast<int>(items.size()) != row.list->count()) {
      const int index = row.list->currentIndex();
      row.list->clear();
      for (const auto& item : items) row.list->addItem(QString::fromStdString(item));
      row.list->setCurrentIndex(index < row.list->count() ? index : -1);
      continue;
    }
    for (int i = 0; i < row.list->count(); ++i) {
      row.list->setItemText(i, QString::fromStdString(items[static_cast<std::size_t>(i)]));
    }
  }
  m_showing = false;
  equaliseListWidths();
}

void SettingsBinder::equaliseListWidths() {
  // The lists of one column line up: all as wide as the widest item needs.
  std::array<int, 2> widths{kListMinimumWidth, kListMinimumWidth};
  for (const Row& row : m_rows) {
    if (row.list == nullptr) continue;
    row.list->setMinimumWidth(0);
    auto& width = widths[row.field->place.column == 0 ? 0 : 1];
    width = std::max(width, row.list->sizeHint().width());
  }
  for (const Row& row : m_rows) {
    if (row.list != nullptr) row.list->setFixedWidth(widths[row.field->place.column == 0 ? 0 : 1]);
  }
}

void SettingsBinder::showDocument() {
  m_showing = true;
  for (const Row& row : m_rows) {
    const int item = ItemOfStored(m_context.state.workingDocument, *row.field,
                                  StoredSetting(m_context.state, *row.field));
    if (row.check != nullptr) {
      row.check->setChecked(item == 1);
    } else {
      row.list->setCurrentIndex(item);  // -1 selects nothing in an empty list
    }
  }
  m_showing = false;
  applyEnableRules();
}

void SettingsBinder::applyEnableRules() {
  for (const Row& row : m_rows) {
    const bool enabled = IsSettingEnabled(m_context.state, *row.field);
    for (QWidget* widget : {static_cast<QWidget*>(row.label), static_cast<QWidget*>(row.list),
                            static_cast<QWidget*>(row.check)}) {
      if (widget != nullptr) widget->setEnabled(enabled);
    }
  }
}

void SettingsBinder::store(const SettingField& field) {
  const Row* row = rowOf(field);
  if (row == nullptr) return;
  int stored = 0;
  if (row->check != nullptr) {
    stored = row->check->isChecked() ? 1 : 0;
  } else {
    if (row->list->currentIndex() < 0) return;
    stored = StoredOfItem(m_context.state.workingDocument, field, row->list->currentIndex());
  }
  const Effects effects{m_context.prompter(), m_observer};
  if (SetSetting(m_context.state, effects, field, stored).status == EditStatus::Refused) {
    // The control goes back to what the document holds.
    showDocument();
    return;
  }
  applyEnableRules();
}

const SettingsBinder::Row* SettingsBinder::rowOf(const SettingField& field) const {
  for (const Row& row : m_rows) {
    if (row.field == &field) return &row;
  }
  return nullptr;
}

QWidget* SettingsBinder::control(std::string_view name) const {
  for (const Row& row : m_rows) {
    if (row.field->name == name) {
      return row.check != nullptr ? static_cast<QWidget*>(row.check)
                                  : static_cast<QWidget*>(row.list);
    }
  }
  return nullptr;
}

const SettingField* SettingsBinder::fieldOfControl(std::string_view control) const {
  for (const Row& row : m_rows) {
    if (row.field->control == control) return row.field;
  }
  return nullptr;
}

}  // namespace cps::gui
