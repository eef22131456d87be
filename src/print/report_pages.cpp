#include "print/report_pages.hpp"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace cps::print {

namespace {

constexpr qreal kMarginMm = 15;

// The page's cell padding does not reach the cells through the HTML import;
// every cell gets it here, in the layout's units (pixels at 96 dpi, which the
// layout scales to the device).
void padTables(QTextFrame* frame, qreal point) {
  for (QTextFrame* child : frame->childFrames()) {
    if (auto* table = qobject_cast<QTextTable*>(child)) {
      for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
          QTextTableCell cell = table->cellAt(row, column);
          QTextTableCellFormat format = cell.format().toTableCellFormat();
          format.setTopPadding(1.5 * point);
          format.setBottomPadding(1.5 * point);
          format.setLeftPadding(3 * point);
          format.setRightPadding(3 * point);
          cell.setFormat(format);
        }
      }
    }
    padTables(child, point);
  }
}

}  // namespace

QPageSize PageSizeOfLocale(const QLocale& locale) {
  return QPageSize(locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                           : QPageSize::A4);
}

int PaintReportPages(QPagedPaintDevice& device, const QString& html, const PageHeader& header) {
  QTextDocument document;
  // Laid out in the device's own units, so that points are points on paper.
  document.documentLayout()->setPaintDevice(&device);
  document.setHtml(html);
  padTables(document.rootFrame(), 96.0 / 72.0);

  QPainter painter;
  if (!painter.begin(&device)) return 0;
  const QRectF paintRect = device.pageLayout().paintRectPixels(device.logicalDpiX());
  QFont headerFont = document.defaultFont();
  headerFont.setPointSizeF(8);
  const QFontMetricsF metrics(headerFont, &device);
  const qreal headerHeight = metrics.height() * 2;
  const QSizeF body(paintRect.width(), paintRect.height() - headerHeight);
  document.setPageSize(body);
  const int pages = document.pageCount();

  for (int page = 0; page < pages; ++page) {
    if (page > 0) device.newPage();
    painter.save();
    painter.setFont(headerFont);
    painter.setPen(Qt::black);
    const QRectF line(0, 0, body.width(), metrics.height());
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, header.fileName);
    painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("%1 %2 / %3").arg(header.pageWord).arg(page + 1).arg(pages));
    painter.drawLine(QPointF(0, metrics.height() * 1.3),
                     QPointF(body.width(), metrics.height() * 1.3));

    // The document is one long strip of pages; each page shows its own part.
    painter.translate(0, headerHeight - page * body.height());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, page * body.height(), body.width(), body.height());
    painter.setClipRect(context.clip);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
  }
  painter.end();
  return pages;
}

QString WriteReportPdf(const QString& path, const QString& html, const PageHeader& header,
                       const QPageSize& pageSize) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return path + QStringLiteral(": ") + file.errorString();
  {
    QPdfWriter writer(&file);
    writer.setPageSize(pageSize);
    writer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                          QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(header.fileName);
    writer.setCreator(QStringLiteral("cps530"));
    if (PaintReportPages(writer, html, header) == 0) {
      file.cancelWriting();
      return path + QStringLiteral(": the PDF could not be laid out");
    }
  }
  if (!file.commit()) return path + QStringLiteral(": ") + file.errorString();
  return {};
}

}  // namespace cps::print
