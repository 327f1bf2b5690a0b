#include "funddata/holdings_page.h"

#include <cstddef>

#include "text/gbk_literal.h"
#include "text/number.h"
#include "text/text_search.h"

namespace {

constexpr TextSearchOptions kAnyCase{.ignore_case = true};

bool is_tag_name_end(char c) {
  return c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The offset of the next "<name" tag (not a longer name such as "<thead"
// for "<th") at or after `from`, before `end`; kNotFound when there is none.
std::size_t find_tag(const Text& html, const char* name, std::size_t from, std::size_t end) {
  Text opening = Text("<") + name;
  for (std::size_t at = find_text(html, opening, from, kAnyCase); at != kNotFound && at < end;
       at = find_text(html, opening, at + 1, kAnyCase)) {
    std::size_t after = at + opening.size();
    if (after >= html.size() || is_tag_name_end(html[after])) return at;
  }
  return kNotFound;
}

// `html` without its tags, "&nbsp;" and ASCII white space.
Text visible_text(const Text& html) {
  Text out;
  for (std::size_t i = 0; i < html.size();) {
    if (html[i] == '<') {
      std::size_t close = html.find('>', i);
      if (close == Text::npos) break;
      i = close + 1;
    } else if (html.compare(i, 6, "&nbsp;") == 0) {
      i += 6;
    } else if (html[i] == ' ' || html[i] == '\t' || html[i] == '\r' || html[i] == '\n') {
      ++i;
    } else {
      std::size_t length = character_length(html, i);
      out.append(html, i, length);
      i += length;
    }
  }
  return out;
}

// The raw HTML of each cell ("<td" or "<th") of one row, in order.
std::vector<Text> row_cells(const Text& row) {
  std::vector<Text> cells;
  std::size_t at = 0;
  while (true) {
    std::size_t td = find_tag(row, "td", at, row.size());
    std::size_t th = find_tag(row, "th", at, row.size());
    std::size_t start = td < th ? td : th;
    if (start == kNotFound) break;
    std::size_t open_end = row.find('>', start);
    if (open_end == Text::npos) break;
    std::size_t next_td = find_tag(row, "td", open_end, row.size());
    std::size_t next_th = find_tag(row, "th", open_end, row.size());
    std::size_t next = next_td < next_th ? next_td : next_th;
    std::size_t end = next == kNotFound ? row.size() : next;
    cells.push_back(row.substr(open_end + 1, end - open_end - 1));
    at = end;
  }
  return cells;
}

// The raw HTML of each row ("<tr") of one table, in order.
std::vector<Text> table_rows(const Text& table) {
  std::vector<Text> rows;
  std::size_t at = find_tag(table, "tr", 0, table.size());
  while (at != kNotFound) {
    std::size_t next = find_tag(table, "tr", at + 1, table.size());
    rows.push_back(table.substr(at, next == kNotFound ? Text::npos : next - at));
    at = next;
  }
  return rows;
}

bool is_secid_character(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '.';
}

// The secid in a link to "/unify/r/<secid>"; empty when the cell has no
// such link or what follows is not a market, a dot and a code.
Text secid_of(const Text& cell) {
  static const Text kLink = "/unify/r/";
  std::size_t at = find_text(cell, kLink, 0, kAnyCase);
  if (at == kNotFound) return {};
  std::size_t begin = at + kLink.size();
  std::size_t end = begin;
  while (end < cell.size() && is_secid_character(cell[end])) ++end;
  Text secid = cell.substr(begin, end - begin);
  std::size_t dot = secid.find('.');
  if (dot == Text::npos || dot == 0 || dot + 1 == secid.size() ||
      secid.find('.', dot + 1) != Text::npos) {
    return {};
  }
  return secid;
}

// The date after the last "截止至：" of `heading`: its first run of digits
// and dashes once tags are skipped.
Text report_date_of(const Text& heading) {
  static const Text kAsOf = gbk("截止至：");
  std::size_t at = find_last_text(heading, kAsOf, heading.size());
  if (at == kNotFound) return {};
  Text after = visible_text(heading.substr(at + kAsOf.size()));
  std::size_t end = 0;
  while (end < after.size() && ((after[end] >= '0' && after[end] <= '9') || after[end] == '-')) {
    ++end;
  }
  return after.substr(0, end);
}

struct Columns {
  int code = -1;
  int name = -1;
  int share = -1;
};

Columns find_columns(const std::vector<Text>& header_cells) {
  static const Text kCode = gbk("代码");
  static const Text kName = gbk("名称");
  static const Text kShare = gbk("占净值");
  Columns columns;
  for (int i = 0; i < static_cast<int>(header_cells.size()); ++i) {
    Text title = visible_text(header_cells[i]);
    if (columns.code < 0 && contains_text(title, kCode)) columns.code = i;
    if (columns.name < 0 && contains_text(title, kName)) columns.name = i;
    if (columns.share < 0 && contains_text(title, kShare)) columns.share = i;
  }
  return columns;
}

}  // namespace

FundHoldings parse_holdings_page(const Text& page) {
  FundHoldings holdings;
  std::size_t table_start = find_tag(page, "table", 0, page.size());
  if (table_start == kNotFound) return holdings;
  std::size_t table_end = find_text(page, "</table", table_start, kAnyCase);
  Text table =
      page.substr(table_start, table_end == kNotFound ? Text::npos : table_end - table_start);

  std::vector<Text> rows = table_rows(table);
  std::size_t header = 0;
  while (header < rows.size() &&
         find_tag(rows[header], "th", 0, rows[header].size()) == kNotFound) {
    ++header;
  }
  if (header == rows.size()) return holdings;
  Columns columns = find_columns(row_cells(rows[header]));
  if (columns.code < 0 || columns.share < 0) return holdings;

  holdings.report_date = report_date_of(page.substr(0, table_start));
  for (std::size_t r = header + 1; r < rows.size(); ++r) {
    std::vector<Text> cells = row_cells(rows[r]);
    if (static_cast<int>(cells.size()) <= std::max(columns.code, columns.share)) continue;
    StockHolding stock;
    stock.secid = secid_of(cells[columns.code]);
    if (stock.secid.empty()) continue;
    stock.code = visible_text(cells[columns.code]);
    if (columns.name >= 0 && columns.name < static_cast<int>(cells.size())) {
      stock.name = visible_text(cells[columns.name]);
    }
    stock.net_value_share = text_to_number(visible_text(cells[columns.share]));
    holdings.stocks.push_back(stock);
  }
  return holdings;
}
