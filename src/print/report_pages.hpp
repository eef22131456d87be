// The report on paper: laid out on the pages of a printer or a PDF writer,
// each page headed by the file name and its number, the tables' header rows
// repeated where a table goes on over a page.
#pragma once

#include <QPageSize>
#include <QString>

class QLocale;
class QPagedPaintDevice;

namespace cps::print {

struct PageHeader {
  QString fileName;
  QString pageWord;  // "Page": the header reads "Page 2 / 5"
};

// Letter where the locale measures in inches (the United States), A4 elsewhere.
QPageSize PageSizeOfLocale(const QLocale& locale);

// Paints every page of the report on `device`, which is ready to paint on
// (its page size, margins and resolution set). Returns the number of pages.
int PaintReportPages(QPagedPaintDevice& device, const QString& html, const PageHeader& header);

// Writes the report as a PDF file through a temporary file, so that a failed
// write leaves an earlier file as it was. Empty on success, otherwise why not.
// Needs a QGuiApplication (the offscreen platform will do).
QString WriteReportPdf(const QString& path, const QString& html, const PageHeader& header,
                       const QPageSize& pageSize);

}  // namespace cps::print
