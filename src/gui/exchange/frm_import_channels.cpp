#include "gui/exchange/frm_import_channels.hpp"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/app/text_ids.hpp"
#include "gui/app/app_context.hpp"

namespace cps::gui {

namespace {

enum Column { kLine, kLocation, kChannel, kRx, kTx, kResult, kColumnCount };

QString joined(const std::vector<std::string>& names) {
  QStringList list;
  for (const auto& name : names) list << QString::fromStdString(name);
  return list.join(QStringLiteral(", "));
}

}  // namespace

FrmImportChannels::FrmImportChannels(AppContext& context, std::string csv, const QString& fileName,
                                     QWidget* parent)
    : QDialog(parent), m_context(context), m_csv(std::move(csv)) {
  setObjectName(QStringLiteral("FrmImportChannels"));
  setModal(true);
  setWindowTitle(context.text(text::kImportCaption));
  auto* layout = new QVBoxLayout(this);

  auto* file = new QLabel(say({text::kImportFileLabel, {fileName.toStdString()}}));
  file->setObjectName(QStringLiteral("LabelFile"));
  file->setTextFormat(Qt::PlainText);
  layout->addWidget(file);

  m_merge = new QRadioButton(context.text(text::kImportMerge));
  m_merge->setObjectName(QStringLiteral("OptionMerge"));
  m_merge->setChecked(true);
  m_replace = new QRadioButton(context.text(text::kImportReplace));
  m_replace->setObjectName(QStringLiteral("OptionReplace"));
  m_renumber = new QCheckBox(context.text(text::kImportRenumber));
  m_renumber->setObjectName(QStringLiteral("CheckRenumber"));
  layout->addWidget(m_merge);
  layout->addWidget(m_replace);
  layout->addWidget(m_renumber);

  m_notes = new QLabel;
  m_notes->setObjectName(QStringLiteral("LabelNotes"));
  m_notes->setTextFormat(Qt::PlainText);
  m_notes->setWordWrap(true);
  layout->addWidget(m_notes);

  m_rows = new QTableWidget(0, kColumnCount);
  m_rows->setObjectName(QStringLiteral("GridPreview"));
  m_rows->setHorizontalHeaderLabels(
      {context.text(text::kImportLineColumn), context.text(text::kImportLocationColumn),
       context.text(text::kImportChannelColumn), context.text(text::kImportRxColumn),
       context.text(text::kImportTxColumn), context.text(text::kImportResultColumn)});
  m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_rows->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_rows->verticalHeader()->hide();
  m_rows->horizontalHeader()->setStretchLastSection(true);
  m_rows->setWordWrap(false);
  layout->addWidget(m_rows, 1);

  m_summary = new QLabel;
  m_summary->setObjectName(QStringLiteral("LabelSummary"));
  m_summary->setWordWrap(true);
  layout->addWidget(m_summary);

  m_import = new QPushButton(context.text(text::kImportButton));
  m_import->setObjectName(QStringLiteral("CommandImport"));
  m_import->setDefault(true);
  auto* cancel = new QPushButton(context.text(text::kCancelButton));
  cancel->setObjectName(QStringLiteral("CommandCancel"));
  auto* buttons = new QDialogButtonBox;
  buttons->addButton(m_import, QDialogButtonBox::AcceptRole);
  buttons->addButton(cancel, QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  connect(m_merge, &QRadioButton::toggled, this, [this] { replan(); });
  connect(m_renumber, &QCheckBox::toggled, this, [this] { replan(); });
  replan();
  resize(820, 480);
}

QString FrmImportChannels::say(const ExchangeMessage& message) const {
  return QString::fromStdString(
      RenderMessage(message, [this](int id) { return m_context.texts.LangText(id); }));
}

void FrmImportChannels::replan() {
  m_plan =
      PlanChannelImport(m_context.state, m_csv, {m_replace->isChecked(), m_renumber->isChecked()});

  QStringList notes;
  if (m_plan.refusal) notes << say(*m_plan.refusal);
  if (!m_plan.unknownColumns.empty()) {
    notes << say({text::kImportUnknownColumns, {joined(m_plan.unknownColumns).toStdString()}});
  }
  if (!m_plan.unheldColumns.empty()) {
    notes << say({text::kImportUnheldColumns, {joined(m_plan.unheldColumns).toStdString()}});
  }
  m_notes->setText(notes.join(QLatin1Char('\n')));
  m_notes->setVisible(!notes.isEmpty());

  m_rows->setRowCount(static_cast<int>(m_plan.rows.size()));
  const QColor skippedColour(0xA0, 0x10, 0x10);
  for (int i = 0; i < m_rows->rowCount(); ++i) {
    const ImportRow& row = m_plan.rows[static_cast<std::size_t>(i)];
    QString result;
    if (row.skip) {
      result = say({text::kImportSkipped, {say(*row.skip).toStdString()}});
    } else {
      result = m_context.text(row.replacesChannel ? text::kImportReplacesChannel
                                                  : text::kImportNewChannel);
    }
    const QStringList cells{QString::number(row.line),
                            QString::fromStdString(row.location),
                            row.channel > 0 ? QString::number(row.channel) : QString(),
                            QString::fromStdString(row.rx),
                            QString::fromStdString(row.tx),
                            result};
    for (int c = 0; c < kColumnCount; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (row.skip) item->setForeground(skippedColour);
      if (c < kResult) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      m_rows->setItem(i, c, item);
    }
  }
  m_rows->resizeColumnsToContents();
  m_rows->horizontalHeader()->setStretchLastSection(true);

  m_summary->setText(
      say({text::kImportPreviewSummary,
           {std::to_string(m_plan.importedCount()), std::to_string(m_plan.skippedCount())}}));
  m_import->setEnabled(m_plan.usable());
}

}  // namespace cps::gui
