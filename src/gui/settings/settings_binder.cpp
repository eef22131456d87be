#include "gui/settings/settings_binder.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>
#include <array>

#include "core/app/text_ids.hpp"
#include "core/document/codec.hpp"
#include "core/run_state.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/enter_as_tab.hpp"
#include "gui/app/text_boxes.hpp"

namespace cps::gui {

namespace {

// 100 twips between a label's right edge and its control: 15 twips a pixel.
constexpr int kLabelGap = 7;
// Controls under the check box that enables them sit this far to the right.
constexpr int kIndent = 20;
constexpr int kListMinimumWidth = 110;
constexpr int kTextBoxWidth = 150;

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

// The key rule of a box: single-byte characters its field takes.
std::optional<QChar> acceptedCharacter(const SettingField& field, QChar c) {
  if (c.unicode() > 127) return std::nullopt;
  const auto accepted = AcceptedCharacter(field, static_cast<char>(c.unicode()));
  if (!accepted) return std::nullopt;
  return QChar::fromLatin1(*accepted);
}

// A message line holds whatever bytes its file or radio brought: every
// character that stands for a byte may stay in the box, while the keys still
// type only what the line's rule takes.
class LineValidator final : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    for (const QChar c : input) {
      const auto byte = ByteOfShownCharacter(c.unicode());
      if (!byte || *byte == 0) return Invalid;
    }
    return Acceptable;
  }
};

// What a box shows of a field's stored text: a message line one character for
// each of its bytes, the other boxes their ASCII as it is.
QString shownText(const SettingField& field, const std::string& stored) {
  if (field.kind != SettingKind::Line) return QString::fromStdString(stored);
  QString shown;
  for (const char byte : stored) {
    // Every character a byte shows as lies in the Basic Multilingual Plane.
    shown += QChar(static_cast<char16_t>(ShownCharacterOfByte(static_cast<std::uint8_t>(byte))));
  }
  return shown;
}

// The stored text of what a box shows; a line's characters become its bytes again.
std::string storedText(const SettingField& field, const QString& shown) {
  if (field.kind != SettingKind::Line) return shown.toStdString();
  std::string stored;
  for (const QChar c : shown) {
    // The validator lets in no character without a byte; were one there, its
    // NUL would have the line refused whole rather than stored changed.
    stored.push_back(static_cast<char>(ByteOfShownCharacter(c.unicode()).value_or(0)));
  }
  return stored;
}

}  // namespace

QWidget* SettingsBinder::Row::widget() const {
  if (check != nullptr) return check;
  if (list != nullptr) return list;
  return text;
}

SettingsBinder::SettingsBinder(AppContext& context, DocumentObserver& observer, QWidget& window)
    : QObject(&window), m_context(context), m_observer(observer), m_window(window) {}

// ---- Building ---------------------------------------------------------------------------

QLineEdit* SettingsBinder::makeTextBox(const SettingField& field) {
  auto* box = new QLineEdit;
  if (field.text.maxLength > 0) box->setMaxLength(field.text.maxLength);
  // Wide enough to show every character the box can hold.
  const int characters = std::max<int>(field.text.maxLength, 10) + 2;
  box->setFixedWidth(
      std::max(kTextBoxWidth, box->fontMetrics().horizontalAdvance(QLatin1Char('W')) * characters));
  RefusalNotice notice;
  if (field.kind == SettingKind::Line) {
    box->setValidator(new LineValidator(box));
    // A keystroke the line cannot store is never dropped without a word.
    notice = [this, box](Refusal why) {
      TellWhyRefused(*box, m_context.text(why == Refusal::Full ? text::kMessageLineFull
                                                               : text::kMessageCharacterRefused));
    };
  }
  GuardTextBox(
      *box, [&field](QChar c) { return acceptedCharacter(field, c); }, std::move(notice));
  box->installEventFilter(this);
  // Enter moves on as Tab does; leaving the ID code box stores it.
  EnterAsTab::install(*box);
  connect(box, &QLineEdit::textEdited, this, [this, box] {
    const Row* row = rowOf(box);
    if (row == nullptr || m_showing) return;
    if (row->field->kind == SettingKind::IdCode) {
      m_pendingId = row;  // stored when the box is left
    } else {
      storeText(*row);
    }
  });
  return box;
}

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
  if (!field.caption.empty()) {
    row.label = new QLabel(fromUtf8(field.caption));
    // Label1(n) belongs to Combo1(n); a box's label is named after the box.
    QString labelName = name;
    labelName.replace(QStringLiteral("Combo"), QStringLiteral("Label"));
    if (IsTextKind(field.kind)) labelName = QStringLiteral("Label_") + name;
    row.label->setObjectName(labelName);
  }
  if (IsTextKind(field.kind)) {
    row.text = makeTextBox(field);
    row.text->setObjectName(name);
  } else {
    row.list = new QComboBox;
    row.list->setObjectName(name);
    row.list->setEditable(false);
    row.list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const auto& item :
         ItemTexts(m_context.state.workingDocument, field, m_context.langTextFunction())) {
      row.list->addItem(QString::fromStdString(item));
    }
    EnterAsTab::install(*row.list);
    connect(row.list, &QComboBox::currentIndexChanged, this, [this, &field] {
      if (!m_showing) store(field);
    });
  }
  if (row.label != nullptr) row.label->setBuddy(row.widget());
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
  QHBoxLayout* line = nullptr;  // the row that a control placed on the same line joins
  bool usesSecondColumn = false;
  for (const auto& field : fields) {
    Row row = makeRow(field);
    m_rows.push_back(row);
    if (field.place.sameLine && line != nullptr) {
      if (row.label != nullptr) line->addWidget(row.label);
      line->addWidget(row.widget());
      continue;
    }
    const std::size_t column = field.place.column == 0 ? 0 : 1;
    usesSecondColumn = usesSecondColumn || column == 1;
    const bool indented = field.place.indented;
    if (forms[column] == nullptr || formIndented[column] != indented ||
        (row.check != nullptr && !indented)) {
      forms[column] = nullptr;
    }
    line = nullptr;
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
        line = new QHBoxLayout;
        line->addWidget(row.widget());
        line->addStretch();
        if (row.label != nullptr) {
          forms[column]->addRow(row.label, line);
        } else {
          forms[column]->addRow(line);
        }
      }
    }
    if (field.place.hidden) {
      for (QWidget* w : {static_cast<QWidget*>(row.label), row.widget()}) {
        if (w != nullptr) w->setVisible(false);
      }
    }
  }
  for (auto* box : boxes) box->addStretch();
  columns->addLayout(boxes[0]);
  if (usesSecondColumn) {
    auto* divider = new QFrame;
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);
    columns->addWidget(divider);
  }
  columns->addLayout(boxes[1]);
  return frame;
}

namespace {

// The fields of one page; the tables keep a page's fields together.
std::span<const SettingField> fieldsOnPage(std::span<const SettingField> fields, int page) {
  const auto first = std::find_if(fields.begin(), fields.end(),
                                  [page](const SettingField& f) { return f.place.page == page; });
  const auto last = std::find_if(first, fields.end(),
                                 [page](const SettingField& f) { return f.place.page != page; });
  return {first, last};
}

}  // namespace

QTabWidget* SettingsBinder::buildTabs(std::span<const SettingField> fields,
                                      std::span<const SettingPage> pages, const QString& name) {
  auto* tabs = new QTabWidget;
  tabs->setObjectName(name);
  EnterAsTab::install(*tabs->tabBar());
  for (std::size_t p = 0; p < pages.size(); ++p) {
    const int page = static_cast<int>(p) + 1;
    tabs->addTab(buildColumns(fieldsOnPage(fields, page), QStringLiteral("Frame%1").arg(page)),
                 fromUtf8(pages[p].caption));
  }
  m_pages = pages;
  m_tabs = tabs;
  return tabs;
}

QWidget* SettingsBinder::buildFrames(std::span<const SettingField> fields,
                                     std::span<const SettingPage> frames) {
  auto* holder = new QWidget;
  auto* layout = new QVBoxLayout(holder);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(buildColumns(fieldsOnPage(fields, 0), QStringLiteral("Frame0")));
  for (std::size_t f = 0; f < frames.size(); ++f) {
    const int page = static_cast<int>(f) + 1;
    auto* box = new QGroupBox(fromUtf8(frames[f].caption));
    box->setObjectName(QStringLiteral("Frame%1").arg(page));
    auto* inner = new QVBoxLayout(box);
    auto* keys = qobject_cast<QFrame*>(
        buildColumns(fieldsOnPage(fields, page), QStringLiteral("Keys%1").arg(page)));
    keys->setFrameShape(QFrame::NoFrame);
    inner->addWidget(keys);
    layout->addWidget(box);
    m_frames.push_back(box);
  }
  m_pages = frames;
  return holder;
}

// ---- Texts and showing -----------------------------------------------------------------

void SettingsBinder::applyTexts() {
  const auto textOf = m_context.langTextFunction();
  m_showing = true;
  for (const Row& row : m_rows) {
    const SettingField& field = *row.field;
    // A label without a text number keeps its built-in caption ("-", 1 … 16).
    const QString caption =
        field.labelTextId != 0 ? m_context.text(field.labelTextId) : fromUtf8(field.caption);
    if (row.check != nullptr) {
      row.check->setText(caption);
      continue;
    }
    if (row.label != nullptr) row.label->setText(caption);
    if (row.list == nullptr) continue;
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
  for (std::size_t p = 0; p < m_pages.size(); ++p) {
    const QString title = m_context.text(m_pages[p].textId);
    if (m_tabs != nullptr) m_tabs->setTabText(static_cast<int>(p), title);
    if (p < m_frames.size()) m_frames[p]->setTitle(title);
  }
  m_showing = false;
  equaliseListWidths();
}

void SettingsBinder::equaliseListWidths() {
  // The lists of one column line up: all as wide as the widest item needs. A
  // list on the line of another keeps its own width.
  std::array<int, 2> widths{kListMinimumWidth, kListMinimumWidth};
  for (const Row& row : m_rows) {
    if (row.list == nullptr || row.field->place.sameLine) continue;
    row.list->setMinimumWidth(0);
    auto& width = widths[row.field->place.column == 0 ? 0 : 1];
    width = std::max(width, row.list->sizeHint().width());
  }
  for (const Row& row : m_rows) {
    if (row.list == nullptr || row.field->place.sameLine) continue;
    row.list->setFixedWidth(widths[row.field->place.column == 0 ? 0 : 1]);
  }
}

void SettingsBinder::refillDocumentLists() {
  const auto textOf = m_context.langTextFunction();
  for (const Row& row : m_rows) {
    if (row.list == nullptr || row.field->items.list == nullptr) continue;
    const auto items = ItemTexts(m_context.state.workingDocument, *row.field, textOf);
    QStringList texts;
    for (const auto& item : items) texts << QString::fromStdString(item);
    QStringList shown;
    for (int i = 0; i < row.list->count(); ++i) shown << row.list->itemText(i);
    if (texts == shown) continue;
    row.list->clear();
    row.list->addItems(texts);
  }
}

void SettingsBinder::showDocument() {
  m_showing = true;
  refillDocumentLists();
  const CodecContext codec{m_context.state.model.limits, m_context.prompter()};
  for (const Row& row : m_rows) {
    if (row.text != nullptr) {
      row.text->setText(
          shownText(*row.field, SettingText(m_context.state.workingDocument, *row.field, codec)));
      continue;
    }
    const int item = ItemOfStored(m_context.state.workingDocument, *row.field,
                                  StoredSetting(m_context.state, *row.field));
    if (row.check != nullptr) {
      row.check->setChecked(item == 1);
    } else {
      row.list->setCurrentIndex(item);  // -1 selects nothing in an empty list
    }
  }
  m_pendingId = nullptr;
  m_showing = false;
  applyEnableRules();
}

void SettingsBinder::openDocument(std::span<const SettingField> fields) {
  StoreShownOnOpening(m_context.state, {m_context.prompter(), m_observer}, fields);
  showDocument();
}

void SettingsBinder::applyEnableRules() {
  for (const Row& row : m_rows) {
    const bool enabled = IsSettingEnabled(m_context.state, *row.field);
    for (QWidget* widget : {static_cast<QWidget*>(row.label), row.widget()}) {
      if (widget != nullptr) widget->setEnabled(enabled);
    }
  }
}

// ---- Storing -------------------------------------------------------------------------------

void SettingsBinder::store(const SettingField& field) {
  const Row* row = rowOf(field);
  if (row == nullptr) return;
  if (row->text != nullptr) {
    storeText(*row);
    return;
  }
  int stored = 0;
  if (row->check != nullptr) {
    stored = row->check->isChecked() ? 1 : 0;
  } else {
    if (row->list->currentIndex() < 0) return;
    stored = StoredOfItem(m_context.state.workingDocument, field, row->list->currentIndex());
  }
  const Effects effects{m_context.prompter(), m_observer};
  auto outcome = SetSetting(m_context.state, effects, field, stored);
  if (outcome.status == EditStatus::Refused && field.side == SideRule::KeyFunction) {
    // A function the key cannot have now (scan while scanning is off) gives
    // way to the list's first function.
    outcome = SetSetting(m_context.state, effects, field,
                         StoredOfItem(m_context.state.workingDocument, field, 0));
  }
  // The controls show what the document now holds: side rules may have
  // changed other fields, and lists drawn from the document may have changed.
  showDocument();
}

void SettingsBinder::storeText(const Row& row) {
  QString text = row.text->text();
  if (row.field->kind == SettingKind::IdCode) {
    text = QString::fromStdString(IdCodeOnLeaving(text.toStdString()));
    if (text != row.text->text()) row.text->setText(text);
    if (m_pendingId == &row) m_pendingId = nullptr;
  }
  const Effects effects{m_context.prompter(), m_observer};
  SetSetting(m_context.state, effects, *row.field, storedText(*row.field, text));
  applyEnableRules();
}

void SettingsBinder::commitEdits() {
  if (m_pendingId != nullptr) storeText(*m_pendingId);
}

bool SettingsBinder::textBoxKey(QKeyEvent& key) {
  // Every character is the guard's to judge; the clipboard keys are refused.
  return IsClipboardKey(key);
}

bool SettingsBinder::eventFilter(QObject* watched, QEvent* event) {
  const Row* row = rowOf(watched);
  if (row == nullptr || row->text == nullptr) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::KeyPress:
      return textBoxKey(*static_cast<QKeyEvent*>(event));
    // Another application, a window switch or a menu opening is not the user
    // leaving the box or coming to it: a half-typed code stays as typed, with
    // the cursor where it was, until the user moves on.
    case QEvent::FocusIn:
      if (!row->text->text().isEmpty() && MovesBetweenControls(*static_cast<QFocusEvent*>(event))) {
        QTimer::singleShot(0, row->text, &QLineEdit::selectAll);
      }
      break;
    case QEvent::FocusOut:
      if (row->field->kind == SettingKind::IdCode &&
          MovesBetweenControls(*static_cast<QFocusEvent*>(event))) {
        storeText(*row);
      }
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

const SettingsBinder::Row* SettingsBinder::rowOf(const SettingField& field) const {
  for (const Row& row : m_rows) {
    if (row.field == &field) return &row;
  }
  return nullptr;
}

const SettingsBinder::Row* SettingsBinder::rowOf(const QObject* control) const {
  for (const Row& row : m_rows) {
    if (row.widget() == control) return &row;
  }
  return nullptr;
}

QWidget* SettingsBinder::control(std::string_view name) const {
  for (const Row& row : m_rows) {
    if (row.field->name == name) return row.widget();
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
