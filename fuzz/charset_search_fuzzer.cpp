// Runs the charset search of HTML replies over the first 1024 bytes of
// arbitrary input, as the response decoding does, and checks that the search
// runs and the charset name it gives is made of name characters only.
#include "fuzz/fuzz_input.h"
#include "http/regex_object.h"

namespace {

bool is_name_character(char c) {
  return c == '-' || c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
         (c >= 'A' && c <= 'Z');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Text reply(reinterpret_cast<const char*>(data), size);
  Text head = reply.substr(0, 1024);
  RegexObject regex;
  check(regex.search("<meta.+?charset=[^\\w]?([-\\w]+)", head));
  Text name = regex.submatch_text(1, 1);
  check(name.empty() == (regex.match_count() == 0));
  for (char c : name) check(is_name_character(c));
  if (!name.empty()) check(regex.match_text(1).size() >= name.size() + 13);
  return 0;
}
