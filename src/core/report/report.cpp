#include "core/report/report.hpp"

#include <algorithm>

#include "core/app/text_ids.hpp"
#include "core/app/utf8.hpp"
#include "core/compare/compare.hpp"
#include "core/document/channel_fields.hpp"
#include "core/document/channel_list.hpp"
#include "core/document/codec.hpp"
#include "core/document/records.hpp"
#include "core/settings/setting_fields.hpp"

namespace cps {

namespace {

// A damaged frequency is shown as the table would show it, without a question.
class QuietPrompter final : public Prompter {
 public:
  Answer ask(const Message&) override { return Answer::Ok; }
  std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
};

ReportSection channelSection(const ComparedDocument& doc, const ReportHeading& heading,
                             const CodecContext& codec, const TextOf& textOf) {
  ReportSection section{textOf(text::kChannelWindowTitle), {}, {}, {}};
  std::vector<const ChannelRecord*> channels;
  for (const auto& c : doc.document.usedChannels()) {
    if (c.number >= 1 && c.number <= static_cast<int>(kMaxChannels)) channels.push_back(&c);
  }
  std::sort(channels.begin(), channels.end(),
            [](const ChannelRecord* x, const ChannelRecord* y) { return x->number < y->number; });
  if (channels.empty()) {
    section.note = textOf(text::kReportNoChannels);
    return section;
  }
  std::vector<std::string> headers;
  for (int column = 0; column <= kLastFieldColumn; ++column) {
    if (column == kReservedColumn) continue;
    headers.push_back(textOf(ChannelHeaderTextId(column, heading.offsetMode)));
  }
  headers.push_back(textOf(text::kReportFurther));
  const CompareOptions options{heading.offsetMode, true};
  const ChannelRecord defaults;
  int group = 0;
  for (const ChannelRecord* c : channels) {
    const int itsGroup = GroupOfChannel(c->number);
    if (itsGroup != group) {
      group = itsGroup;
      section.tables.push_back(
          {textOf(text::kGroupWord) + " " + std::to_string(group), headers, {}});
    }
    const auto cells =
        ChannelRowTexts(*c, PositionOfChannel(c->number), heading.offsetMode, codec, textOf);
    std::vector<std::string> row;
    for (int column = 0; column <= kLastFieldColumn; ++column) {
      if (column != kReservedColumn) row.push_back(cells[static_cast<std::size_t>(column)]);
    }
    // The dialog's fields that a new channel does not have as they are.
    std::string further;
    for (const auto& field : ChannelFields()) {
      if (field.headerTextId != 0 || field.member == nullptr) continue;
      if (c->*(field.member) == defaults.*(field.member)) continue;
      if (!further.empty()) further += "; ";
      further += ChannelFieldLabel(field, heading.offsetMode, textOf) + ": " +
                 ChannelFieldText(field, *c, doc.document, codec, options, textOf);
    }
    row.push_back(further);
    section.tables.back().rows.push_back(std::move(row));
  }
  return section;
}

ReportSection settingsSection(const SettingsBlock& block, const ComparedDocument& doc,
                              const CodecContext& codec, const TextOf& textOf) {
  ReportSection section{textOf(block.titleTextId), {}, {}, {}};
  ReportTable table{{}, {textOf(text::kReportSetting), textOf(text::kReportValue)}, {}};
  const CompareOptions options{false, true};
  for (const auto& field : block.fields()) {
    // What the window never shows is not part of the configuration on paper.
    if (field.place.hidden) continue;
    std::string value = SettingShownText(field, doc.document, doc.side, codec, options, textOf);
    // Of the rows of a table (memories, presets, test pairs) only those in use.
    if (field.labelTextId == 0 && value.empty()) continue;
    table.rows.push_back({SettingLabel(field, textOf), std::move(value)});
  }
  section.tables.push_back(std::move(table));
  return section;
}

ReportSection messageSection(const ComparedDocument& doc, const TextOf& textOf) {
  ReportSection section{textOf(text::kMessageCaption), {}, {}, {}};
  for (const auto& line : doc.document.message.lines) section.lines.push_back(TrimFixed(line));
  return section;
}

constexpr std::string_view kStyle =
    "body{font-family:sans-serif;font-size:9pt;color:#000}"
    "h1{font-size:15pt;margin:0 0 6pt 0}"
    "h2{font-size:12pt;margin:12pt 0 4pt 0;border-bottom:1px solid #888}"
    "h3{font-size:10pt;margin:8pt 0 2pt 0}"
    "table{border-collapse:collapse;margin-bottom:6pt}"
    "th{background:#e4e4e4;text-align:left;font-weight:bold}"
    "th,td{border:1px solid #999;padding:2pt 4pt;vertical-align:top}"
    "table.facts td{border:none;padding:1pt 8pt 1pt 0}"
    "pre{font-family:monospace;font-size:10pt;border:1px solid #999;padding:4pt}"
    "p.note{font-style:italic}";

}  // namespace

Report BuildReport(const ComparedDocument& doc, const ReportHeading& heading,
                   const TextOf& textOf) {
  QuietPrompter quiet;
  ModelState model;
  model.select(doc.model, doc.bandLabel);
  const CodecContext codec{model.limits, quiet};

  Report report;
  report.title = textOf(text::kReportTitle);
  report.facts = {{textOf(text::kModelLabel), doc.model},
                  {textOf(text::kBandLabel), doc.bandLabel},
                  {textOf(text::kFileLabel), heading.fileName},
                  {textOf(text::kReportDate), heading.date}};
  report.sections.push_back(channelSection(doc, heading, codec, textOf));
  for (const auto& block : SettingsBlocks()) {
    report.sections.push_back(block.block == CompareBlock::Message
                                  ? messageSection(doc, textOf)
                                  : settingsSection(block, doc, codec, textOf));
  }
  return report;
}

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x80) {
      // Well-formed sequences pass; any other byte is one replacement character.
      const std::size_t length = Utf8SequenceLength(text, i);
      if (length == 0) {
        out += "\xEF\xBF\xBD";
        ++i;
      } else {
        out.append(text.substr(i, length));
        i += length;
      }
      continue;
    }
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        // Control characters of a damaged field would break the page's text.
        out += u < 0x20 && c != '\n' ? ' ' : c;
    }
    ++i;
  }
  return out;
}

std::string ReportHtml(const Report& report, const std::string& language) {
  std::string html = "<!DOCTYPE html>\n<html lang=\"" + HtmlEscape(language) +
                     "\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + HtmlEscape(report.title) +
                     "</title>\n<style>" + std::string(kStyle) + "</style>\n</head>\n<body>\n";
  html += "<h1>" + HtmlEscape(report.title) + "</h1>\n<table class=\"facts\">\n";
  for (const auto& [label, value] : report.facts) {
    html +=
        "<tr><td><b>" + HtmlEscape(label) + "</b></td><td>" + HtmlEscape(value) + "</td></tr>\n";
  }
  html += "</table>\n";
  for (const auto& section : report.sections) {
    html += "<h2>" + HtmlEscape(section.title) + "</h2>\n";
    if (!section.note.empty()) html += "<p class=\"note\">" + HtmlEscape(section.note) + "</p>\n";
    for (const auto& table : section.tables) {
      if (!table.caption.empty()) html += "<h3>" + HtmlEscape(table.caption) + "</h3>\n";
      html += "<table cellspacing=\"0\" cellpadding=\"3\" border=\"1\">\n<thead><tr>";
      for (const auto& header : table.headers) html += "<th>" + HtmlEscape(header) + "</th>";
      html += "</tr></thead>\n<tbody>\n";
      for (const auto& row : table.rows) {
        html += "<tr>";
        for (std::size_t c = 0; c < row.size(); ++c) {
          // A frequency or a word of a list is never broken; the last column
          // (the further settings) takes what room is left.
          const bool last = c + 1 == row.size() && row.size() > 2;
          html +=
              (last ? "<td>" : "<td style=\"white-space:nowrap\">") + HtmlEscape(row[c]) + "</td>";
        }
        html += "</tr>\n";
      }
      html += "</tbody>\n</table>\n";
    }
    if (!section.lines.empty()) {
      html += "<pre>";
      for (const auto& line : section.lines) html += HtmlEscape(line) + "\n";
      html += "</pre>\n";
    }
  }
  return html + "</body>\n</html>\n";
}

}  // namespace cps
