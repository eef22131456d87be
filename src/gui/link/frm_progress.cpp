#include "gui/link/frm_progress.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "core/app/text_ids.hpp"
#include "core/document/prompter.hpp"
#include "core/link/engine.hpp"
#include "gui/app/app_context.hpp"

namespace cps::gui {

namespace {

// Wide enough for the captions of both languages without the dialog changing size.
constexpr int kMinimumWidth = 360;
// How often the elapsed time moves on while the radio is busy.
constexpr int kClockIntervalMs = 200;
// The longest time the width is made for; a transfer that takes longer is clipped, not resized.
constexpr qint64 kWidestElapsedMs = 999'900;

// Built-in caption of the percentage label, shown until the texts are applied.
const char* const kBuiltInPercentLabel = "完成百分比：";

}  // namespace

FrmProgress::FrmProgress(AppContext& context, TransferKind kind, int totalBlocks, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_kind(kind),
      m_totalBlocks(std::max(totalBlocks, 0)),
      m_bar(new QProgressBar),
      m_percentLabel(new QLabel(QString::fromUtf8(kBuiltInPercentLabel))),
      m_percent(new QLabel(QStringLiteral("0%"))),
      m_countAndTime(new QLabel) {
  setObjectName(QStringLiteral("FrmProgress"));
  // No close button: the dialog goes when the transfer ends, never before.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setModal(true);

  m_bar->setObjectName(QStringLiteral("ProgressBar1"));
  m_percentLabel->setObjectName(QStringLiteral("Label1"));
  m_percent->setObjectName(QStringLiteral("Label2"));
  m_countAndTime->setObjectName(QStringLiteral("Label3"));

  m_bar->setRange(0, 100);
  m_bar->setValue(0);
  m_bar->setTextVisible(false);
  // The percentage keeps its place from "0%" to "100%", so the caption before it stays put.
  m_percent->setMinimumWidth(m_percent->fontMetrics().horizontalAdvance(QStringLiteral("100%")));
  m_countAndTime->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

  auto* percentRow = new QHBoxLayout;
  percentRow->setSpacing(4);
  percentRow->addWidget(m_percentLabel);
  percentRow->addWidget(m_percent);
  percentRow->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_bar);
  layout->addLayout(percentRow);
  layout->addWidget(m_countAndTime);

  m_clock.setInterval(kClockIntervalMs);
  connect(&m_clock, &QTimer::timeout, this, &FrmProgress::showCountAndTime);

  applyTexts();

  // The width the longest count and time need in the language shown, kept for the
  // whole transfer so that the dialog never jumps while the numbers grow.
  const auto margins = layout->contentsMargins();
  const int widest = m_countAndTime->fontMetrics().horizontalAdvance(
      countAndTimeText(m_totalBlocks, kWidestElapsedMs));
  const int width = std::max(kMinimumWidth, widest + margins.left() + margins.right());
  setFixedSize(width, sizeHint().height());
}

void FrmProgress::setCaptionTextId(int textId) {
  m_captionTextId = textId;
  applyTexts();
}

void FrmProgress::applyTexts() {
  const int caption = m_captionTextId != 0               ? m_captionTextId
                      : m_kind == TransferKind::WriteAll ? text::kProgressWriting
                                                         : text::kProgressReading;
  setWindowTitle(m_context.text(caption));
  m_percentLabel->setText(m_context.text(text::kProgressPercentLabel));
  showCountAndTime();
}

void FrmProgress::SetProgressValue(int percent) {
  const int value = std::clamp(percent, 0, 100);
  m_bar->setValue(value);
  m_percent->setText(QStringLiteral("%1%").arg(value));
}

void FrmProgress::setBlocksDone(int blocks) {
  m_blocksDone = std::clamp(blocks, 0, m_totalBlocks);
  showCountAndTime();
}

void FrmProgress::setStartAction(std::function<void()> action) {
  m_startAction = std::move(action);
}

void FrmProgress::finish() {
  m_finished = true;
  m_clock.stop();
  done(QDialog::Accepted);
}

void FrmProgress::reject() {
  if (m_finished) QDialog::reject();
}

void FrmProgress::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!m_elapsed.isValid()) m_elapsed.start();
  m_clock.start();
  if (m_finished) {
    // Shown again after the transfer ended: nothing would ever close it, so it goes at once.
    QTimer::singleShot(0, this, [this] { done(QDialog::Accepted); });
  } else if (!m_started) {
    m_started = true;
    QTimer::singleShot(0, this, &FrmProgress::runStartAction);
  }
}

void FrmProgress::hideEvent(QHideEvent* event) {
  m_clock.stop();
  QDialog::hideEvent(event);
}

void FrmProgress::runStartAction() {
  if (!m_startAction || m_finished) return;
  try {
    m_startAction();
  } catch (const std::exception&) {
    // The transfer could not start, and a dialog without buttons would then stay
    // for good: say so and close it.
    m_context.prompter().ask(FixedMessage("ProgressForm_LoadError", Buttons::Ok, Icon::Critical));
    m_finished = true;
    done(QDialog::Rejected);
  }
}

void FrmProgress::showCountAndTime() {
  m_countAndTime->setText(
      countAndTimeText(m_blocksDone, m_elapsed.isValid() ? m_elapsed.elapsed() : 0));
}

QString FrmProgress::countAndTimeText(int blocksDone, qint64 elapsedMs) {
  // The numbers stay outside the language texts (a text is joined, never used as a
  // pattern), and the seconds show "." whatever the user's locale.
  const qint64 tenths = elapsedMs / 100;
  const QString elapsed = m_context.text(text::kProgressElapsed) + u' ' +
                          QString::number(tenths / 10) + u'.' + QString::number(tenths % 10) +
                          u' ' + m_context.text(text::kProgressSeconds);
  if (m_totalBlocks == 0) return elapsed;
  return m_context.text(text::kProgressBlocks) + u' ' + QString::number(blocksDone) +
         QStringLiteral(" / ") + QString::number(m_totalBlocks) + QStringLiteral("   ") + elapsed;
}

}  // namespace cps::gui
