#include "http/header_block.h"

#include "http/text_parts.h"
#include "text/text_search.h"

namespace {

struct DefaultHeader {
  const char* probe;
  const char* line;
  bool post_only;
};

// In the order they are appended.
constexpr DefaultHeader kDefaultHeaders[] = {
    {"User-Agent: ",
     "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n",
     false},
    {"Accept: ", "Accept: text/html, application/xhtml+xml, */*\r\n", false},
    {"Accept-Encoding: ", "Accept-Encoding: gbk, GB2312\r\n", false},
    {"Accept-Language: ", "Accept-Language: zh-cn\r\n", false},
    {"Content-Type:", "Content-Type: application/x-www-form-urlencoded\r\n", true},
    {"Cache-Control: ", "Cache-Control: no-cache\r\n", false},
};

constexpr int kMethodPost = 1;
constexpr TextSearchOptions kAnyCase{.ignore_case = true};

}  // namespace

Text build_header_block(const HeaderBlockOptions& options) {
  Text block = options.extra_headers.empty() ? Text() : options.extra_headers + "\r\n";
  if (options.add_default_headers) {
    for (const DefaultHeader& header : kDefaultHeaders) {
      if (header.post_only && options.method != kMethodPost) continue;
      // The table is ASCII, the same bytes in GBK.
      if (!contains_text(block, header.probe, kAnyCase)) block += header.line;
    }
  }
  if (options.normalise_headers) block = normalise_header_names(block);
  if (contains_text(block, "Connection") && header_value(block, "Connection") == "keep-alive") {
    block = remove_all(block, "Connection: keep-alive\r\n");
  }
  const Text& cookies = options.send_cookies;
  if (!cookies.empty() && !contains_text(block, "Cookie:", kAnyCase)) {
    if (contains_text(cookies, "Cookie:", kAnyCase)) {
      block += "\r\n" + cookies + "\r\n";
    } else {
      block += "\r\nCookie: " + cookies + "\r\n";
    }
  }
  return block;
}

Text normalise_header_names(const Text& block) {
  Text out;
  out.reserve(block.size() + 2);
  for (Text& line : split_text(block, "\r\n")) {
    std::size_t colon = find_text(line, ":");
    if (colon == kNotFound) continue;
    // Raise the first letter of the name and of every part after a "-",
    // walking the name's characters so a "-" inside a double-byte character
    // splits nothing. The same as capitalise_first on each part.
    bool part_start = true;
    for (std::size_t i = 0; i < colon;) {
      std::size_t length = static_cast<unsigned char>(line[i]) >= 0x81 && i + 1 < colon ? 2 : 1;
      if (part_start && line[i] >= 'a' && line[i] <= 'z') line[i] = static_cast<char>(line[i] - 32);
      part_start = length == 1 && line[i] == '-';
      i += length;
    }
    out += line;
    out += "\r\n";
  }
  if (!out.empty()) out.resize(out.size() - 2);
  return out;
}

Text capitalise_first(const Text& text) {
  Text out = text;
  if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') out[0] = static_cast<char>(out[0] - 32);
  return out;
}

Text header_value(const Text& block, const Text& name) {
  for (const Text& line : split_text(block, "\r\n")) {
    if (line.compare(0, name.size(), name) == 0 && line.size() >= name.size()) {
      return text_after(line, name + ": ");
    }
  }
  return {};
}
