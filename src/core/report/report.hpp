// The whole configuration of one document as a report for the customer's
// folder: a heading, the channels group by group with the table's columns and
// what the channel dialog holds beyond its defaults, every settings block with
// its window's labels, and the embedded message. Built once from the field
// tables; rendered to HTML, which the printers and the PDF writer lay out.
#pragma once

#include <string>
#include <vector>

#include "core/channels/channel_table.hpp"

namespace cps {

struct ComparedDocument;

struct ReportTable {
  std::string caption;  // "Group 1"; may be empty
  std::vector<std::string> headers;
  std::vector<std::vector<std::string>> rows;
};

struct ReportSection {
  std::string title;
  std::vector<ReportTable> tables;
  std::vector<std::string> lines;  // preformatted lines (the embedded message)
  std::string note;                // said when the section has nothing else ("No channels")
};

struct Report {
  std::string title;
  std::vector<std::pair<std::string, std::string>> facts;  // label, value: model, band, file, date
  std::vector<ReportSection> sections;
};

struct ReportHeading {
  std::string fileName;  // as the title bar names it
  std::string date;      // the caller's date; the core reads no clock
  bool offsetMode = false;
};

Report BuildReport(const ComparedDocument& document, const ReportHeading& heading,
                   const TextOf& textOf);

// One HTML page with one small style sheet; `language` is its lang attribute
// ("en", "zh-CN"). Table headers are in <thead>, so that a paged layout
// repeats them on every page.
std::string ReportHtml(const Report& report, const std::string& language);

// Text escaped for HTML: &, <, >, " and bytes that are not UTF-8 (a damaged
// file may hold any byte) as U+FFFD.
std::string HtmlEscape(std::string_view text);

}  // namespace cps
