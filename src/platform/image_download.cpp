#include "platform/image_download.h"

#include <curl/curl.h>

#include <algorithm>

#include "platform/transport.h"

namespace platform {
namespace {

size_t on_body(char* data, size_t size, size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

bool is_fetchable(const std::string& url) {
  bool safe = std::none_of(url.begin(), url.end(), [](char c) {
    auto u = static_cast<unsigned char>(c);
    return u <= 0x20 || u >= 0x7F;
  });
  return safe && (url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0);
}

}  // namespace

std::string download_image(const std::string& url, ImageDownloadOptions options) {
  // The process's transport owns libcurl's global set-up.
  if (!is_fetchable(url) || !default_transport().check_platform()) return {};
  CURL* curl = curl_easy_init();
  if (curl == nullptr) return {};
  std::string body;
  long limit = options.timeout_seconds > 0 ? options.timeout_seconds : 30;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_PROXY, "");
  curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(curl, CURLOPT_HTTP_CONTENT_DECODING, 0L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, limit);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, limit);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, on_body);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  CURLcode code = curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  if (code != CURLE_OK) return {};
  return body;
}

}  // namespace platform
