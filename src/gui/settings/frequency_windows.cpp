#include "gui/settings/frequency_windows.hpp"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/app/text_ids.hpp"
#include "core/document/codec.hpp"
#include "core/run_state.hpp"
#include "core/settings/setting_fields.hpp"
#include "gui/app/app_context.hpp"
#include "gui/app/captions.hpp"
#include "gui/app/child_window.hpp"
#include "gui/settings/frequency_grid.hpp"

namespace cps::gui {

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kTestRows = 11, kFivePointRows = 5, kFmRows = 20;

// A table with a header row and a column of row numbers, every column
// centred; widths in twips.
QTableWidget* newTable(const QString& name, int rows, std::initializer_list<int> widths,
                       int headerHeightTwips, int rowHeightTwips) {
  auto* table = new QTableWidget(rows, static_cast<int>(widths.size()));
  table->setObjectName(name);
  table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table->setTabKeyNavigation(false);
  table->verticalHeader()->hide();
  table->horizontalHeader()->setFixedHeight(headerHeightTwips / kTwipsPerPixel);
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  const int rowHeight =
      std::max(rowHeightTwips / kTwipsPerPixel, table->fontMetrics().height() + 4);
  table->verticalHeader()->setDefaultSectionSize(rowHeight);
  int total = 0;
  int column = 0;
  for (const int width : widths) {
    table->setColumnWidth(column, width / kTwipsPerPixel);
    table->setHorizontalHeaderItem(column++, new QTableWidgetItem);
    total += width / kTwipsPerPixel;
  }
  for (int row = 0; row < rows; ++row) {
    for (int c = 0; c < table->columnCount(); ++c) {
      auto* item = new QTableWidgetItem(c == 0 ? QString::number(row + 1) : QString());
      item->setTextAlignment(Qt::AlignCenter);
      // The number column is a header: it cannot be entered.
      item->setFlags(c == 0 ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      if (c == 0) item->setBackground(table->palette().button());
      table->setItem(row, c, item);
    }
  }
  const int frame = 2 * table->frameWidth();
  table->setFixedSize(total + frame,
                      table->horizontalHeader()->height() + rows * rowHeight + frame);
  return table;
}

const SettingField& testField(int row, int column) {
  // Fields alternate first and second per record; column 1 shows the second.
  return TestFrequencyFields()[static_cast<std::size_t>(2 * (row - 1) + (column == 1 ? 1 : 0))];
}

}  // namespace

// ---- Test frequencies --------------------------------------------------------------------

FrmTestFre::FrmTestFre(AppContext& context, DocumentObserver& observer, QWidget* parent)
    : QWidget(parent),
      m_context(context),
      m_pairs(newTable(QStringLiteral("MSFlexGrid1"), kTestRows, {500, 1500, 1500}, 500, 240)),
      m_fivePoints(
          newTable(QStringLiteral("MSFlexGrid2"), kFivePointRows, {500, 1500, 1500}, 500, 240)) {
  setWindowTitle(context.text(text::kTestFrequencyCaption));
  m_fivePoints->setFocusPolicy(Qt::NoFocus);
  m_fivePoints->setSelectionMode(QAbstractItemView::NoSelection);
  m_editor = new FrequencyGrid(context, observer, *m_pairs,
                               {[](int row, int column) -> const SettingField* {
                                  if (row < 1 || row > kTestRows || column < 1 || column > 2)
                                    return nullptr;
                                  return &testField(row, column);
                                },
                                [](int row, int column, const QString& text) {
                                  // An empty receive cell goes straight down; otherwise across,
                                  // then down.
                                  if (column == 1 && text.isEmpty())
                                    return std::pair{row % kTestRows + 1, 1};
                                  if (column == 1) return std::pair{row, 2};
                                  return std::pair{row % kTestRows + 1, 1};
                                },
                                {},
                                "frmTestFre_Text1_KeyPress"});

  auto* grids = new QGridLayout;
  auto* pairsCaption = new QLabel(context.text(text::kTestFrequencyLabel));
  auto* fiveCaption = new QLabel(context.text(text::kFivePointLabel));
  pairsCaption->setObjectName(QStringLiteral("Label1"));
  fiveCaption->setObjectName(QStringLiteral("Label2"));
  grids->addWidget(pairsCaption, 0, 0);
  grids->addWidget(fiveCaption, 0, 1);
  grids->addWidget(m_pairs, 1, 0, Qt::AlignTop);
  grids->addWidget(m_fivePoints, 1, 1, Qt::AlignTop);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grids);
  layout->addLayout(CloseHelpRow(*this, context));
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

  for (QTableWidget* table : {m_pairs, m_fivePoints}) {
    table->horizontalHeaderItem(0)->setText(context.text(text::kTestFrequencyNumber));
    table->horizontalHeaderItem(1)->setText(context.text(text::kTestFrequencyColumn1));
    table->horizontalHeaderItem(2)->setText(context.text(text::kTestFrequencyColumn2));
  }
  reloadFromDocument();
}

void FrmTestFre::showFivePoints() {
  const CodecContext codec{m_context.state.model.limits, m_context.prompter()};
  for (int row = 0; row < kFivePointRows; ++row) {
    const auto& pair = m_context.state.extraTestFrequencies[static_cast<std::size_t>(row)];
    m_fivePoints->item(row, 1)->setText(
        QString::fromStdString(FreqStoredToText(pair.second.raw(), codec)));
    m_fivePoints->item(row, 2)->setText(
        QString::fromStdString(FreqStoredToText(pair.first.raw(), codec)));
  }
}

void FrmTestFre::reloadFromDocument() {
  m_editor->showDocument();
  showFivePoints();
}

void FrmTestFre::commitEdits() { m_editor->commit(); }

void FrmTestFre::closeEvent(QCloseEvent* event) {
  commitEdits();
  QWidget::closeEvent(event);
}

// ---- FM presets ---------------------------------------------------------------------------

FrmRadio::FrmRadio(AppContext& context, DocumentObserver& observer, QWidget* parent)
    : QWidget(parent),
      m_presets(newTable(QStringLiteral("MSFlexGrid1"), kFmRows, {1000, 1700}, 300, 300)) {
  setWindowTitle(context.text(text::kFmCaption));
  m_presets->horizontalHeaderItem(0)->setText(context.text(text::kFmNumber));
  m_presets->horizontalHeaderItem(1)->setText(context.text(text::kFmFrequencyColumn));
  m_editor =
      new FrequencyGrid(context, observer, *m_presets,
                        {[](int row, int column) -> const SettingField* {
                           if (row < 1 || row > kFmRows || column != 1) return nullptr;
                           return &FmPresetFields()[static_cast<std::size_t>(row - 1)];
                         },
                         [](int row, int column, const QString&) {
                           return std::pair{row % kFmRows + 1, column};
                         },
                         // The box holds six characters: 087.55000 is edited as 087.55.
                         [](const QString& cell) { return cell.size() < 7 ? cell : cell.left(6); },
                         "frmRadio_Text1_KeyPress",
                         // A committed preset shows its checked form, 087.55000.
                         [](const QString& typed) {
                           return QString::fromStdString(CheckRadioFre(typed.toStdString()));
                         }});
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_presets);
  layout->addLayout(CloseHelpRow(*this, context));
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  reloadFromDocument();
}

void FrmRadio::reloadFromDocument() { m_editor->showDocument(); }

void FrmRadio::commitEdits() { m_editor->commit(); }

void FrmRadio::closeEvent(QCloseEvent* event) {
  commitEdits();
  QWidget::closeEvent(event);
}

}  // namespace cps::gui
