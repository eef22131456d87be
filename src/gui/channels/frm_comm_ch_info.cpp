// The channel table window: building it, drawing a page, the caption, the
// group selector, language texts, activation, scrolling and closing. The
// floating editors are in frm_comm_ch_info_editing.cpp.
#include "gui/channels/frm_comm_ch_info.hpp"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>

#include "core/app/text_ids.hpp"
#include "core/channels/channel_table.hpp"
#include "core/document/channel_list.hpp"
#include "core/document/codec.hpp"
#include "core/run_state.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/captions.hpp"
#include "gui/app/child_window.hpp"
#include "gui/channels/channel_window_host.hpp"

namespace cps::gui {

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kHeaderHeightTwips = 500;
constexpr int kGridWidthTwips = 11358;
constexpr int kWindowWidthTwips = 11800, kWindowHeightTwips = 6400;
constexpr int kLabelGapTwips = 100;
constexpr int kScrollPauseMs = 500;
constexpr int kDoubleClickPauseMs = 1000;

const QColor kHeaderText(0, 0, 155);
const QColor kRowNumberText(0, 0, 255);
const QColor kDetailsText(255, 0, 0);
const QColor kDetailsBackground(220, 220, 220);

// The grid marks its cursor cell without a focus rectangle; the floating
// editor covers the cell, and the details column shows the cursor as a
// highlighted cell. The rows of a selection of several are highlighted whole.
class CursorCellDelegate final : public QStyledItemDelegate {
 public:
  CursorCellDelegate(QObject* parent, std::function<bool(int)> isSelectedRow)
      : QStyledItemDelegate(parent), m_isSelectedRow(std::move(isSelectedRow)) {}

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->state &= ~QStyle::State_HasFocus;
    const auto* view = qobject_cast<const QAbstractItemView*>(option->widget);
    if ((view != nullptr && view->currentIndex() == index) || m_isSelectedRow(index.row() + 1)) {
      option->state |= QStyle::State_Selected;
    }
  }

 private:
  std::function<bool(int)> m_isSelectedRow;
};

}  // namespace

frmCommChInfo::frmCommChInfo(AppContext& context, DocumentObserver& observer,
                             ChannelWindowHost& host, QWidget* parent)
    : QWidget(parent),
      m_context(context),
      m_observer(observer),
      m_host(host),
      m_editing(context.state.channelEditing),
      m_groupLabel(new QLabel(QStringLiteral("组"))),
      m_group(new QComboBox),
      m_grid(new QTableWidget(kTableRows, kTableColumns - 1)),
      m_frequency(new QLineEdit(m_grid->viewport())),
      m_tones(new QComboBox(m_grid->viewport())),
      m_power(new QComboBox(m_grid->viewport())),
      m_scanSkip(new QComboBox(m_grid->viewport())),
      m_signalling(new QComboBox(m_grid->viewport())),
      m_spacing(new QComboBox(m_grid->viewport())),
      m_edit(new QPushButton(QStringLiteral("信道编辑"))),
      m_close(new QPushButton(QStringLiteral("关闭"))),
      m_help(new QPushButton(QStringLiteral("帮助"))),
      m_scrollTimer(new QTimer(this)),
      m_editTimer(new QTimer(this)) {
  setWindowTitle(QStringLiteral("信道信息"));
  m_groupLabel->setObjectName(QStringLiteral("Label1"));
  m_group->setObjectName(QStringLiteral("Combo7"));
  m_grid->setObjectName(QStringLiteral("MSFlexGrid1"));
  m_frequency->setObjectName(QStringLiteral("Text1"));
  int number = 1;
  for (QComboBox* list : {m_tones, m_power, m_scanSkip, m_signalling, m_spacing}) {
    list->setObjectName(QStringLiteral("Combo%1").arg(number++));
  }
  m_edit->setObjectName(QStringLiteral("CommandCHInfoEdit"));
  m_close->setObjectName(QStringLiteral("CommandClose"));
  m_help->setObjectName(QStringLiteral("CommandHelp"));
  for (int g = 1; g <= 8; ++g) m_group->addItem(QString::number(g));
  m_groupLabel->setBuddy(m_group);

  auto* top = new QHBoxLayout;
  top->addWidget(m_groupLabel);
  top->addSpacing(kLabelGapTwips / kTwipsPerPixel);
  top->addWidget(m_group);
  top->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_edit);
  buttons->addStretch();
  buttons->addWidget(m_close);
  buttons->addWidget(m_help);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(m_grid, 0, Qt::AlignLeft | Qt::AlignTop);
  layout->addLayout(buttons);
  layout->addStretch();

  // Opening: help, flags, size, grid, texts, the page of the current group.
  m_help->setVisible(AppContext::kHelpSwitch);
  CodeMoveTopRow = false;
  m_editorArmed = false;
  m_gridReady = false;
  resize(kWindowWidthTwips / kTwipsPerPixel, kWindowHeightTwips / kTwipsPerPixel);
  m_scrollTimer->setSingleShot(true);
  m_scrollTimer->setInterval(kScrollPauseMs);
  m_editTimer->setSingleShot(true);
  m_editTimer->setInterval(kDoubleClickPauseMs);

  guarded("frmCommChInfo_Form_Load", [this] {
    InitShowGrid();
    ChangShowByLanguage();
    SetGridData();
  });
  m_enterOnActivate = true;
  m_editing.isChannelWindowOpen = true;
  m_gridReady = true;
  m_isRelabelling = true;  // placing the cursor is not a user's move
  m_grid->setCurrentCell(0, 0);
  m_isRelabelling = false;
  m_editorArmed = true;

  connect(m_group, &QComboBox::currentIndexChanged, this, [this] { showGroup(); });
  connect(m_grid, &QTableWidget::currentCellChanged, this, [this] { onCursorChanged(); });
  connect(m_grid, &QTableWidget::cellClicked, this, [this] { onGridClicked(); });
  connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this] { onGridDoubleClicked(); });
  connect(m_grid, &QWidget::customContextMenuRequested, this, &frmCommChInfo::onContextMenu);
  connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { onScrolled(); });
  connect(m_frequency, &QLineEdit::textEdited, this, [this] {
    m_typedPending = true;
    m_freshEntry = false;
  });
  for (int column = kFirstListColumn; column <= kLastFieldColumn; ++column) {
    connect(listEditor(column), &QComboBox::activated, this,
            [this, column] { onListSelected(column); });
  }
  connect(m_edit, &QPushButton::clicked, this, [this] {
    SaveGridEdit();
    m_host.showChannelEditDialog();
  });
  connect(m_close, &QPushButton::clicked, this, [this] { CloseChildWindow(*this); });
}

frmCommChInfo::~frmCommChInfo() { m_editing.isChannelWindowOpen = false; }

// ---- Building and texts ---------------------------------------------------------

void frmCommChInfo::InitShowGrid() {
  m_grid->setItemDelegate(new CursorCellDelegate(
      m_grid, [this](int row) { return m_selection.isBlock() && m_selection.contains(row); }));
  m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_grid->setSelectionMode(QAbstractItemView::NoSelection);
  m_grid->setTabKeyNavigation(false);
  m_grid->setWordWrap(false);
  m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
  m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m_grid->installEventFilter(this);
  m_grid->viewport()->installEventFilter(this);

  // Row 0 and column 0 are the grid's headers, so they stay in place and the
  // cursor never lands on them.
  QHeaderView* header = m_grid->horizontalHeader();
  header->setFixedHeight(kHeaderHeightTwips / kTwipsPerPixel);
  header->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
  header->setSectionResizeMode(QHeaderView::Fixed);
  header->setHighlightSections(false);
  QHeaderView* rows = m_grid->verticalHeader();
  rows->setDefaultAlignment(Qt::AlignCenter);
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setHighlightSections(false);
  const int rowHeight = std::max(18, m_grid->fontMetrics().height() + 4);
  rows->setDefaultSectionSize(rowHeight);
  rows->setFixedWidth(ChannelTableColumns()[0].widthTwips / kTwipsPerPixel);
  // A right click on a row number works as on a cell of the row.
  rows->setContextMenuPolicy(Qt::CustomContextMenu);
  rows->viewport()->installEventFilter(this);
  connect(rows, &QWidget::customContextMenuRequested, this, &frmCommChInfo::onRowNumberContextMenu);
  // The corner above the row numbers is the row number column's header cell;
  // the grid draws it as an empty button, so the window draws it.
  m_corner = m_grid->findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
  if (m_corner != nullptr) {
    m_corner->setObjectName(QStringLiteral("CornerHeader"));
    m_corner->installEventFilter(this);
  }

  const auto columns = ChannelTableColumns();
  for (int column = 1; column < kTableColumns; ++column) {
    m_grid->setColumnWidth(column - 1,
                           columns[static_cast<std::size_t>(column)].widthTwips / kTwipsPerPixel);
    m_grid->setHorizontalHeaderItem(column - 1, new QTableWidgetItem);
  }
  m_grid->setColumnHidden(kReservedColumn - 1, true);
  for (int row = 1; row <= kTableRows; ++row) {
    m_grid->setVerticalHeaderItem(row - 1, new QTableWidgetItem);
    for (int column = 1; column < kTableColumns; ++column) {
      auto* item = new QTableWidgetItem;
      item->setTextAlignment(Qt::AlignCenter);
      item->setFlags(Qt::ItemIsEnabled);
      m_grid->setItem(row - 1, column - 1, item);
    }
  }
  const int frame = 2 * m_grid->frameWidth();
  m_grid->setFixedSize(kGridWidthTwips / kTwipsPerPixel,
                       header->height() + kTableRows * rowHeight + frame);

  // The floating editors: hidden until a cell of their column is entered.
  makeFrequencyEditor();
  for (int column = kFirstListColumn; column <= kLastFieldColumn; ++column) {
    QComboBox* list = listEditor(column);
    list->setEditable(false);
    list->setMaxVisibleItems(16);
    list->installEventFilter(this);
  }
  SetEditDisable();
}

void frmCommChInfo::ChangShowByLanguage() {
  m_isRelabelling = true;
  m_editing.captionRow = cursorRow();
  m_groupLabel->setText(m_context.text(text::kGroupWord));
  showCaption();
  const bool offsetMode = m_context.state.habits.offsetMode;
  for (int column = 1; column < kTableColumns; ++column) {
    QTableWidgetItem* item = m_grid->horizontalHeaderItem(column - 1);
    item->setText(m_context.text(ChannelHeaderTextId(column, offsetMode)));
    item->setForeground(kHeaderText);
  }
  // Column 0 has its header in the header row's corner.
  m_grid->setCornerButtonEnabled(false);
  if (m_corner != nullptr) {
    m_corner->setText(m_context.text(ChannelHeaderTextId(0, offsetMode)));
    m_corner->update();
  }
  for (int row = 1; row <= kTableRows; ++row) {
    QTableWidgetItem* number = m_grid->verticalHeaderItem(row - 1);
    number->setText(QString::number(row));
    number->setForeground(kRowNumberText);
    QTableWidgetItem* details = m_grid->item(row - 1, kDetailsColumn - 1);
    details->setText(QStringLiteral(">>"));
    details->setForeground(kDetailsText);
    details->setBackground(kDetailsBackground);
  }
  m_isRelabelling = false;
  fillLists();
  m_edit->setText(m_context.text(text::kChannelEditButton));
  SetCloseHelpCaptions(*this, m_context);
}

void frmCommChInfo::fillLists() {
  // The window keeps the texts it opened with; drawing a page then needs no
  // lookup in the language file.
  m_itemTexts.clear();
  const TextOf textOf = [this](int id) {
    auto [at, added] = m_itemTexts.try_emplace(id);
    if (added) at->second = m_context.langText(id);
    return at->second;
  };
  for (int column = kFirstListColumn; column <= kLastFieldColumn; ++column) {
    if (column == static_cast<int>(ChannelField::EncodeTone)) continue;  // shares Combo1
    QComboBox* list = listEditor(column);
    const QSignalBlocker quiet(list);
    const int kept = list->currentIndex();
    list->clear();
    QStringList items;
    for (const auto& item : ChannelColumnItems(column, textOf)) {
      items << QString::fromStdString(item);
    }
    list->addItems(items);
    list->setCurrentIndex(kept < list->count() ? kept : -1);
  }
}

std::string frmCommChInfo::itemText(int id) const {
  const auto at = m_itemTexts.find(id);
  return at != m_itemTexts.end() ? at->second : m_context.langText(id);
}

void frmCommChInfo::ReShowChInfoByLanguage() {
  ChangShowByLanguage();
  SetGridData();
}

void frmCommChInfo::showCaption() {
  setWindowTitle(m_context.text(text::kGroupWord) + QLatin1Char(' ') +
                 QString::number(m_editing.currentGroup + 1) + QStringLiteral(" --- ") +
                 m_context.text(text::kChannelWord) + QLatin1Char(' ') +
                 QString::number(m_editing.captionRow) + QLatin1Char(']'));
}

// ---- Drawing ----------------------------------------------------------------------

void frmCommChInfo::SetGridData() {
  guarded("frmCommChInfo_SetGridData", [this] {
    {
      const QSignalBlocker quiet(m_group);
      m_group->setCurrentIndex(std::clamp(m_editing.currentGroup, 0, 7));
    }
    showGroup();
    m_host.LoadTree();
  });
}

void frmCommChInfo::showGroup() {
  m_editing.currentGroup = selectedGroup();
  m_editing.dialogGroup = m_editing.currentGroup;
  showCaption();
  for (int row = 1; row <= kTableRows; ++row) clearRow(row);
  // Another page: the selection is the cursor's row again.
  m_selection.selectOnly(cursorRow());
  m_selectionRow = cursorRow();
  showSelection();
  const int first = m_editing.currentGroup * kTableRows;
  for (const ChannelRecord& channel : m_context.state.workingDocument.usedChannels()) {
    const int row = channel.number - first;
    if (row > 0 && row <= kTableRows) fillRow(row, channel);
  }
  SetShowEditData();
  m_host.reloadChannelEditDialog(true);
  if (!m_isRelabelling && m_gridReady) m_host.UpdateChannelEditCommands(first + cursorRow());
}

void frmCommChInfo::ChangeGroup() { m_group->setCurrentIndex(m_editing.dialogGroup); }

void frmCommChInfo::followDialog() {
  const int row = m_editing.editRow;
  if (selectedGroup() == m_editing.dialogGroup && cursorRow() == row) return;
  SetEditDisable();
  if (selectedGroup() != m_editing.dialogGroup) ChangeGroup();
  if (cursorRow() != row) {
    // The cursor moves; the cell is entered when the user comes back to the table.
    m_editing.skipEnterCellOnce = true;
    setCursor(row, cursorColumn());
  }
}

void frmCommChInfo::setCell(int row, int column, const QString& text) {
  QTableWidgetItem* item = m_grid->item(row - 1, column - 1);
  if (item->text() != text) item->setText(text);
}

void frmCommChInfo::clearRow(int row) {
  for (int column = 1; column <= kLastFieldColumn; ++column) setCell(row, column, QString());
}

void frmCommChInfo::fillRow(int row, const ChannelRecord& channel) {
  const CodecContext codec{m_context.state.model.limits, m_context.prompter()};
  const auto texts = ChannelRowTexts(channel, row, m_context.state.habits.offsetMode, codec,
                                     [this](int id) { return itemText(id); });
  for (int column = 1; column <= kLastFieldColumn; ++column) {
    if (column == kReservedColumn) continue;
    setCell(row, column, QString::fromStdString(texts[static_cast<std::size_t>(column)]));
  }
}

void frmCommChInfo::reShowGrid(int channelNumber) {
  guarded("frmCommChInfo_reShowGrid", [this, channelNumber] {
    auto& doc = m_context.state.workingDocument;
    const int row = channelNumber - m_editing.currentGroup * kTableRows;
    const bool onPage = row > 0 && row <= kTableRows;
    const int index = FindChannelIndex(doc, channelNumber);
    if (index < 0) {
      if (onPage) clearRow(row);
    } else {
      if (onPage) fillRow(row, doc.channels[static_cast<std::size_t>(index)]);
      const auto before = doc.channels[static_cast<std::size_t>(index)].busyLockout;
      CheckBusyLockout(doc, channelNumber);
      if (doc.channels[static_cast<std::size_t>(index)].busyLockout != before &&
          m_editing.isEditDialogOpen) {
        m_observer.reloadEditDialog();
      }
    }
    if (selectedGroup() * kTableRows + cursorRow() == channelNumber) {
      m_host.UpdateChannelEditCommands(channelNumber);
    }
  });
}

void frmCommChInfo::reShowAllGrid() {
  bool drawn[kTableRows + 1] = {};
  const int first = m_editing.currentGroup * kTableRows;
  for (const ChannelRecord& channel : m_context.state.workingDocument.usedChannels()) {
    const int row = channel.number - first;
    if (row <= 0 || row > kTableRows) continue;
    fillRow(row, channel);
    drawn[row] = true;
  }
  for (int row = 1; row <= kTableRows; ++row) {
    if (!drawn[row] && !cellText(row, 1).isEmpty()) clearRow(row);
  }
}

void frmCommChInfo::ReShowAllTxFre(bool rOffSet) {
  m_grid->horizontalHeaderItem(1)->setText(m_context.text(ChannelHeaderTextId(2, rOffSet)));
  const CodecContext codec{m_context.state.model.limits, m_context.prompter()};
  const int first = m_editing.currentGroup * kTableRows;
  for (const ChannelRecord& c : m_context.state.workingDocument.usedChannels()) {
    const int row = c.number - first;
    if (row <= 0 || row > kTableRows) continue;
    setCell(row, 2,
            QString::fromStdString(TxFrequencyText(c.rxFreq.raw(), c.offset.raw(),
                                                   c.offsetDirection, rOffSet, codec)));
  }
}

void frmCommChInfo::reloadFromDocument() {
  reShowAllGrid();
  SetShowEditData();
  m_host.UpdateChannelEditCommands(selectedGroup() * kTableRows + cursorRow());
}

// ---- The cursor ---------------------------------------------------------------------

int frmCommChInfo::cursorRow() const { return std::max(m_grid->currentRow(), 0) + 1; }
int frmCommChInfo::cursorColumn() const { return std::max(m_grid->currentColumn(), 0) + 1; }
void frmCommChInfo::setCursor(int row, int column) {
  m_grid->setCurrentCell(std::clamp(row, 1, kTableRows) - 1,
                         std::clamp(column, 1, kTableColumns - 1) - 1);
}
int frmCommChInfo::selectedGroup() const { return std::max(m_group->currentIndex(), 0); }

QString frmCommChInfo::cellText(int row, int column) const {
  if (row == 0) {
    if (column == 0) return m_corner != nullptr ? m_corner->text() : QString();
    return m_grid->horizontalHeaderItem(column - 1)->text();
  }
  if (column == 0) return m_grid->verticalHeaderItem(row - 1)->text();
  return m_grid->item(row - 1, column - 1)->text();
}

// ---- Activation, scrolling, closing ---------------------------------------------------

void frmCommChInfo::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
  if (frame == nullptr || m_followsFrame) return;
  // The frame in the main window's area says when this window becomes the active one.
  m_followsFrame = true;
  connect(frame, &QMdiSubWindow::windowStateChanged, this,
          [this](Qt::WindowStates before, Qt::WindowStates now) {
            if ((before ^ now) & Qt::WindowActive) activated(now & Qt::WindowActive);
          });
  if (frame->windowState() & Qt::WindowActive) activated(true);
}

void frmCommChInfo::activated(bool active) {
  m_active = active;
  m_host.ShowCHInfo(active);
  if (active) m_host.UpdateChannelEditCommands(selectedGroup() * kTableRows + cursorRow());
  // Coming back to the table after the dialog moved its cursor, or for the
  // first time, the cursor cell takes its editor.
  if (active && (m_enterOnActivate || visibleEditor() == nullptr)) {
    m_enterOnActivate = false;
    enterCell();
  }
}

void frmCommChInfo::paintCorner() {
  QStyleOptionHeader option;
  option.initFrom(m_corner);
  // Drawn as the other header cells are, although the corner takes no clicks.
  option.state |= QStyle::State_Enabled;
  option.palette.setCurrentColorGroup(QPalette::Active);
  option.palette.setColor(QPalette::ButtonText, kHeaderText);
  option.rect = m_corner->rect();
  option.position = QStyleOptionHeader::OnlyOneSection;
  option.text = m_corner->text();
  option.textAlignment = Qt::AlignCenter;
  QStylePainter painter(m_corner);
  painter.drawControl(QStyle::CE_Header, option);
}

void frmCommChInfo::onScrolled() {
  if (CodeMoveTopRow || m_scrollTimer->isActive()) return;
  m_scrollTimer->start();
  const int topRow = m_grid->rowAt(0) + 1;
  const int row = cursorRow() - m_editTopRow + topRow;
  if (row >= 1) setCursor(row, cursorColumn());
  if (cursorRow() != m_editing.editRow) enterCell();
}

void frmCommChInfo::closeEvent(QCloseEvent* event) {
  if (!m_closed) {
    guarded("frmCommChInfo_Form_Unload", [this] {
      commitEdits();
      m_editing.isChannelWindowOpen = false;
    });
    m_closed = true;
    m_host.ShowCHInfo(false);
  }
  QWidget::closeEvent(event);
}

bool frmCommChInfo::guarded(const char* diagnostic, const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const std::exception&) {
    m_context.prompter().ask(FixedMessage(diagnostic, Buttons::Ok, Icon::Critical));
    return false;
  }
}

}  // namespace cps::gui
