// The bare libcurl GET the benchmarks measure the program against: a fresh
// handle (and so a fresh connection) per request, sending the same header
// lines web_request sends by default, so both put the same request on the
// wire. Benchmarks only.
#pragma once

#include <curl/curl.h>

#include <string>

namespace bench {

inline size_t keep_body(char* data, size_t size, size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

inline curl_slist* default_header_lines() {
  static curl_slist* list = [] {
    curl_slist* l = nullptr;
    for (const char* line :
         {"User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)",
          "Accept: text/html, application/xhtml+xml, */*", "Accept-Encoding: gbk, GB2312",
          "Accept-Language: zh-cn", "Cache-Control: no-cache"}) {
      l = curl_slist_append(l, line);
    }
    return l;
  }();
  return list;
}

// The body of a GET of `url`; empty when the request failed.
inline std::string bare_get(const std::string& url) {
  std::string body;
  CURL* curl = curl_easy_init();
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, default_header_lines());
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, keep_body);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_PROXY, "");
  CURLcode result = curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  return result == CURLE_OK ? body : std::string();
}

}  // namespace bench
