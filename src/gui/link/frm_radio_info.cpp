#include "gui/link/frm_radio_info.hpp"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>
#include <string>
#include <string_view>

#include "core/app/text_ids.hpp"
#include "core/document/codec.hpp"
#include "core/document/model.hpp"
#include "core/run_state.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/captions.hpp"
#include "gui/app/child_window.hpp"
#include "gui/app/enter_as_tab.hpp"

namespace cps::gui {

namespace {

constexpr int kRepairReasonBox = 4;
constexpr int kRepairReasonLength = 96;
constexpr int kRepairReasonLines = 3;
// Label2, the sales region's label, follows Label1(0) to Label1(13).
constexpr std::size_t kRegionLabel = FrmRadioInfo::kLabels;
// Each field holds at most 16 characters; its box shows them all.
constexpr int kWidestField = 16;

struct LabelEntry {
  const char* builtIn;
  int textId;
};

// Label1(0) to Label1(13), then Label2: built-in captions and texts.
constexpr std::array<LabelEntry, FrmRadioInfo::kLabels + 1> kLabelTable{{
    {"机型", text::kRadioInfoModel},
    {"频段", text::kRadioInfoBand},
    {"序列号", text::kRadioInfoSerial},
    {"出厂日期", text::kRadioInfoProductionDate},
    {"维修日期", text::kRadioInfoRepairDate},
    {"维修原因", text::kRadioInfoRepairReason},
    {"版本信息", text::kRadioInfoVersion},
    {"维修原因", text::kRadioInfoRepairReasonAgain},
    {"生产批号", text::kRadioInfoBatch},
    {"客户代码", text::kRadioInfoCustomer},
    {"经销商代码", text::kRadioInfoDealerCode},
    {"入库时间", text::kRadioInfoStockInDate},
    {"销售时间", text::kRadioInfoSaleDate},
    {"经手人", text::kRadioInfoHandledBy},
    {"销售区号", text::kRadioInfoRegion},
}};

struct TextField {
  int box;  // n of Text1(n)
  std::string RadioInfoRecord::*field;
  int maxLength;
  bool trimmed;  // the sales region and the version are shown as they are
};

constexpr std::array<TextField, 11> kTextFields{{
    {0, &RadioInfoRecord::salesRegionCode, 4, false},
    {1, &RadioInfoRecord::serialNumber, 16, true},
    {2, &RadioInfoRecord::productionDate, 16, true},
    {3, &RadioInfoRecord::repairDate, 16, true},
    {5, &RadioInfoRecord::versionInformation, 16, false},
    {6, &RadioInfoRecord::productionBatch, 16, true},
    {7, &RadioInfoRecord::customerCode, 16, true},
    {8, &RadioInfoRecord::dealerCode, 16, true},
    {9, &RadioInfoRecord::stockInDate, 16, true},
    {10, &RadioInfoRecord::saleDate, 16, true},
    {11, &RadioInfoRecord::handledBy, 16, true},
}};

QString indexed(const char* name, int index) {
  return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

// The record holds what the program made (today's date in the user's form, as
// UTF-8) and bytes a radio gave back, which may be in any single-byte code page.
// Bytes that are not UTF-8 are shown one character each, so nothing the radio
// holds turns into replacement marks or runs longer than its field.
QString shownText(std::string_view bytes) {
  const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
  QString decoded = utf8.decode(view);
  if (!utf8.hasError()) return decoded;
  return QString::fromLatin1(view);
}

// Shows `value` in a pick-only list. A value the list does not hold is added
// as it is: the window shows what the radio reported, never another model or
// band in its place. An empty value shows no item.
void showInList(QComboBox& list, const QString& value) {
  if (value.isEmpty()) {
    list.setCurrentIndex(-1);
    return;
  }
  int index = list.findText(value, Qt::MatchExactly);
  if (index < 0) {
    list.addItem(value);
    index = list.count() - 1;
  }
  list.setCurrentIndex(index);
}

}  // namespace

FrmRadioInfo::FrmRadioInfo(AppContext& context, QWidget* parent)
    : QWidget(parent),
      m_context(context),
      m_model(new QComboBox),
      m_band(new QComboBox),
      m_repairReason(new QPlainTextEdit),
      m_dealer(new QGroupBox(QStringLiteral("经销商信息"))),
      m_close(new QPushButton(QStringLiteral("关闭"))),
      m_help(new QPushButton(QStringLiteral("帮助"))) {
  setObjectName(QStringLiteral("FrmRadioInfo"));
  setWindowTitle(QStringLiteral("对讲机信息"));

  m_model->setObjectName(QStringLiteral("Combo1(0)"));
  m_band->setObjectName(QStringLiteral("Combo1(1)"));
  for (QComboBox* list : {m_model, m_band}) EnterAsTab::install(*list);
  m_dealer->setObjectName(QStringLiteral("Frame1"));
  m_close->setObjectName(QStringLiteral("CommandClose"));
  m_help->setObjectName(QStringLiteral("CommandHelp"));

  for (std::size_t i = 0; i < m_labels.size(); ++i) {
    m_labels[i] = new QLabel(QString::fromUtf8(kLabelTable[i].builtIn));
    m_labels[i]->setObjectName(i == kRegionLabel ? QStringLiteral("Label2")
                                                 : indexed("Label1", static_cast<int>(i)));
  }
  const int fieldWidth = fontMetrics().averageCharWidth() * kWidestField + 12;
  for (const auto& entry : kTextFields) {
    auto* box = new QLineEdit;
    box->setObjectName(indexed("Text1", entry.box));
    box->setMaxLength(entry.maxLength);
    box->setMinimumWidth(fieldWidth);
    m_texts[static_cast<std::size_t>(entry.box)] = box;
  }
  m_repairReason->setObjectName(indexed("Text1", kRepairReasonBox));
  m_repairReason->setTabChangesFocus(true);
  m_repairReason->setFixedHeight(
      m_repairReason->fontMetrics().lineSpacing() * kRepairReasonLines +
      2 * (m_repairReason->frameWidth() +
           static_cast<int>(m_repairReason->document()->documentMargin())));
  connect(m_repairReason, &QPlainTextEdit::textChanged, this, &FrmRadioInfo::limitRepairReason);

  const auto label = [this](std::size_t slot) { return m_labels[slot]; };
  const auto box = [this](int n) { return m_texts[static_cast<std::size_t>(n)]; };
  const auto pair = [](QGridLayout& grid, int row, int column, QLabel* caption, QWidget* field) {
    caption->setBuddy(field);
    grid.addWidget(caption, row, column, Qt::AlignRight | Qt::AlignVCenter);
    grid.addWidget(field, row, column + 1);
  };

  // Two columns of label and field: what the radio is on the left, its codes and
  // dates on the right, the repair reason across both.
  auto* fields = new QGridLayout;
  pair(*fields, 0, 0, label(0), m_model);
  pair(*fields, 0, 2, label(6), box(5));
  pair(*fields, 1, 0, label(1), m_band);
  pair(*fields, 1, 2, label(2), box(1));
  pair(*fields, 2, 0, label(kRegionLabel), box(0));
  pair(*fields, 2, 2, label(9), box(7));
  pair(*fields, 3, 0, label(8), box(6));
  pair(*fields, 3, 2, label(3), box(2));
  pair(*fields, 4, 0, label(4), box(3));
  label(5)->setBuddy(m_repairReason);
  fields->addWidget(label(5), 5, 0, Qt::AlignRight | Qt::AlignTop);
  fields->addWidget(m_repairReason, 5, 1, 1, 3);
  fields->setColumnStretch(1, 1);
  fields->setColumnStretch(3, 1);
  // The second repair reason caption would only repeat the first beside the same box.
  label(7)->setParent(this);
  label(7)->hide();

  auto* dealerFields = new QGridLayout(m_dealer);
  pair(*dealerFields, 0, 0, label(10), box(8));
  pair(*dealerFields, 0, 2, label(13), box(11));
  pair(*dealerFields, 1, 0, label(11), box(9));
  pair(*dealerFields, 1, 2, label(12), box(10));
  dealerFields->setColumnStretch(1, 1);
  dealerFields->setColumnStretch(3, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_close);
  buttons->addWidget(m_help);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(m_dealer);
  layout->addLayout(buttons);
  layout->addStretch();

  connect(m_close, &QPushButton::clicked, this, &FrmRadioInfo::commandCloseClick);

  applyTexts();
  ShowByData();
}

void FrmRadioInfo::applyTexts() {
  setWindowTitle(m_context.text(text::kRadioInfoCaption));
  m_dealer->setTitle(m_context.text(text::kRadioInfoDealerFrame));
  for (std::size_t i = 0; i < m_labels.size(); ++i) {
    m_labels[i]->setText(m_context.text(kLabelTable[i].textId));
  }
  SetCloseHelpCaptions(*this, m_context);
}

void FrmRadioInfo::ShowByData() {
  const RadioInfoRecord& info = m_context.state.radioInfo;

  m_model->clear();
  for (std::string_view model : {kModelTW530, kModelTW530G}) {
    m_model->addItem(shownText(ShownNameOfModel(model)));
  }
  showInList(*m_model, shownText(ShownNameOfModel(TrimFixed(info.model))));

  m_band->clear();
  for (const auto& band : BandTable()) m_band->addItem(shownText(band.label));
  const std::string_view band = BandLabelOfIndex(info.bandCode);
  // A band code this program has no label for is shown as the radio gave it.
  showInList(*m_band, band.empty() ? QString::number(info.bandCode) : shownText(band));

  for (const auto& entry : kTextFields) {
    const std::string& value = info.*entry.field;
    m_texts[static_cast<std::size_t>(entry.box)]->setText(
        shownText(entry.trimmed ? TrimFixed(value) : value));
  }
  m_repairReason->setPlainText(shownText(TrimFixed(info.repairReason)));
}

void FrmRadioInfo::limitRepairReason() {
  const int excess = m_repairReason->document()->characterCount() - 1 - kRepairReasonLength;
  if (excess <= 0) return;
  // What was just typed or pasted beyond the field's size is taken back, as a
  // one-line box refuses it; the text already there stays.
  QTextCursor cursor = m_repairReason->textCursor();
  const int end = cursor.position();
  cursor.setPosition(std::max(0, end - excess));
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  if (cursor.hasSelection()) {
    cursor.removeSelectedText();
    return;  // the removal comes back here and finds the text short enough
  }
  cursor.movePosition(QTextCursor::End);
  cursor.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor, excess);
  cursor.removeSelectedText();
}

void FrmRadioInfo::commandCloseClick() { CloseChildWindow(*this); }

}  // namespace cps::gui
