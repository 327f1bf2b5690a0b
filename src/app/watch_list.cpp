#include "app/watch_list.h"

#include <algorithm>
#include <optional>
#include <string>

#include "app/fund_rows.h"
#include "app/notice_cap.h"
#include "app/watch_list_location.h"
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

// Writes every line end as CR LF: a lone LF (Unix editors) and a lone CR
// (old Mac editors) end a line as CR LF does.
Text with_crlf_line_ends(const Text& text) {
  Text result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      result += crlf();
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (text[i] == '\n') {
      result += crlf();
    } else {
      result += text[i];
    }
  }
  return result;
}

// Within one import the first boxes of refused lines are shown as they come;
// the rest are counted and told in one box at the end.
constexpr int kImportBoxes = 20;

Text backup_path(const Text& path) { return path + gbk(".bak"); }

}  // namespace

Text watch_list_path() { return watch_list_location(); }

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

std::vector<Text> watch_list_codes(const Text& text) {
  // Lines are cut from the same trimmed text they are counted in, so leading
  // blank lines shift nothing. Once every line end is CR LF, the lines that
  // count_lines counts are the pieces between the CR LF pairs, cut here in
  // one pass.
  Text content = with_crlf_line_ends(text);
  for (int i = 0; i < 3; ++i) trim_outer_crlf(content);
  std::vector<Text> codes;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find(crlf(), start);
    if (end == Text::npos) end = content.size();
    codes.push_back(content.substr(start, end - start));
    start = end + crlf().size();
  }
  return codes;
}

bool drops_listed_codes(const Text& old_content, const std::vector<Text>& codes) {
  // Every byte counts here, those after a zero byte included: an import
  // stops there, and a save must not lose what it never showed.
  std::vector<Text> sorted = codes;
  std::sort(sorted.begin(), sorted.end());
  for (const Text& line : watch_list_codes(old_content)) {
    if (!line.empty() && !std::binary_search(sorted.begin(), sorted.end(), line)) return true;
  }
  return false;
}

void import_watch_list(const EventContext& context) {
  NoticeCap boxes(kImportBoxes);
  std::vector<Text> codes = watch_list_codes(read_text(watch_list_path()));
  if (uses_per_fund_estimates(context.endpoints)) {
    for (const Text& code : codes) {
      add_fund_row(context.window, context.endpoints, context.holdings, code, {.notices = &boxes});
    }
  } else {
    // Every code in one go, then the same adds line by line.
    std::vector<FundEstimate> estimates =
        fetch_estimates(codes, context.endpoints, context.holdings);
    for (std::size_t i = 0; i < codes.size(); ++i) {
      add_fetched_fund_row(context.window, codes[i], estimates[i], {.notices = &boxes});
    }
  }
  context.window.按钮1.hide();
  recolour_fund_list(context.window);
  if (boxes.held_back() > 0) {
    platform::message_box(
        gbk("另有 ") + std::to_string(boxes.held_back()) + gbk(" 行基金代码有误，已跳过"),
        gbk("提示信息"));
  }
}

void save_watch_list(const EventContext& context) {
  const ReportList& list = context.window.超级列表框1;
  std::vector<Text> codes;
  Text content;
  int rows = list_row_count(list);
  for (int row = 0; row < rows; ++row) {
    codes.push_back(list_get_cell(list, row, 0));
    content += codes.back() + crlf();
  }
  platform::FileSystem& files = platform::file_system();
  const Text path = watch_list_path();
  // A save that drops codes of the file keeps the file first, so every slip
  // (a save before the import, during it, or a removal) has a way back. No
  // save goes ahead without that copy.
  std::optional<Text> old_content = files.read_file(path);
  bool saved = true;
  if (old_content && drops_listed_codes(*old_content, codes)) {
    saved = files.replace_file(backup_path(path), *old_content, {.permissions_from = path});
  }
  saved = saved && files.replace_file(path, content);
  if (!saved) platform::message_box(gbk("保存关注列表失败！"), gbk("提示信息"));
}
