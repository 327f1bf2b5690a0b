#include "app/watch_list.h"

#include "app/fund_rows.h"
#include "funddata/batch_estimates.h"
#include "listview/report_list.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "text/gbk_literal.h"

namespace {

const Text& crlf() {
  static const Text kCrLf = gbk("\r\n");
  return kCrLf;
}

// The file as text: its bytes up to the first zero byte; empty when missing.
Text read_text(const Text& path) {
  Text bytes = platform::file_system().read_file(path).value_or(Text{});
  return bytes.substr(0, bytes.find('\0'));
}

// Gives every LF that lacks its CR one, so a list written with LF line
// ends reads as the same lines.
Text lone_lf_to_crlf(const Text& text) {
  Text result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) result += '\r';
    result += text[i];
  }
  return result;
}

}  // namespace

Text watch_list_path() {
  return platform::file_system().program_directory() + gbk("/") + gbk("gzlist.txt");
}

void trim_outer_crlf(Text& text) {
  if (text.starts_with(crlf())) text.erase(0, crlf().size());
  if (text.ends_with(crlf())) text.erase(text.size() - crlf().size());
}

int count_lines(const Text& text) {
  if (text.empty()) return 0;
  int lines = 0;
  for (char byte : text) lines += byte == '\n' ? 1 : 0;
  if (text.back() != '\n') ++lines;
  return lines;
}

Text text_line(const Text& text, int n) {
  if (n < 1) return {};
  std::size_t start = 0;
  for (int line = 1; start < text.size(); ++line) {
    std::size_t end = text.find(crlf(), start);
    if (line == n) {
      return end == Text::npos ? text.substr(start) : text.substr(start, end + 2 - start);
    }
    if (end == Text::npos) break;
    start = end + 2;
  }
  return {};
}

Text read_file_line(const Text& path, int n) { return text_line(read_text(path), n); }

void import_watch_list(const EventContext& context) {
  // Lines are counted and read in the same trimmed text, so leading blank
  // lines shift nothing, and LF alone ends a line as CR LF does.
  Text content = lone_lf_to_crlf(read_text(watch_list_path()));
  for (int i = 0; i < 3; ++i) trim_outer_crlf(content);
  int lines = count_lines(content);
  std::vector<Text> codes;
  for (int i = 1; i <= lines; ++i) {
    codes.push_back(text_line(content, i));
    trim_outer_crlf(codes.back());
  }
  if (uses_per_fund_estimates(context.endpoints)) {
    for (const Text& code : codes)
      add_fund_row(context.window, context.endpoints, context.holdings, code);
  } else {
    // Every code in one go, then the same adds line by line.
    std::vector<FundEstimate> estimates =
        fetch_estimates(codes, context.endpoints, context.holdings);
    for (std::size_t i = 0; i < codes.size(); ++i) {
      add_fetched_fund_row(context.window, codes[i], estimates[i]);
    }
  }
  context.window.按钮1.hide();
  recolour_fund_list(context.window);
}

void save_watch_list(const EventContext& context) {
  const ReportList& list = context.window.超级列表框1;
  Text content;
  int rows = list_row_count(list);
  for (int row = 0; row < rows; ++row) content += list_get_cell(list, row, 0) + crlf();
  if (!platform::file_system().replace_file(watch_list_path(), content)) {
    platform::message_box(gbk("保存关注列表失败！"), gbk("提示信息"));
  }
}
