#include "platform/image_download.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>

#include "platform/curl_transport.h"
#include "platform/transport.h"

namespace platform {
namespace {

// Runs inside libcurl: lets no exception out, and stops the transfer when
// the body would outgrow its limit or memory runs out.
size_t on_body(char* data, size_t size, size_t count, void* user) noexcept {
  auto* body = static_cast<std::string*>(user);
  std::size_t length = size * count;
  if (length > kMaxReplyBodyBytes - body->size()) return 0;
  try {
    body->append(data, length);
    return length;
  } catch (...) {
    return 0;
  }
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
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle(curl_easy_init(), curl_easy_cleanup);
  if (!handle) return {};
  CURL* curl = handle.get();
  std::string body;
  long limit_ms = 1000L * (options.timeout_seconds > 0 && options.timeout_seconds <= 86400
                               ? options.timeout_seconds
                               : 30);
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_PROXY, "");
  curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(curl, CURLOPT_HTTP_CONTENT_DECODING, 0L);
  // Resolving and connecting end within the limit, a stretch without data
  // ends the transfer after it, and the whole download after four times it.
  // A resolver that has not answered in time is left behind, not waited for.
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limit_ms);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, limit_ms / 1000);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, 4 * limit_ms);
  curl_easy_setopt(curl, CURLOPT_QUICK_EXIT, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxReplyBodyBytes));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, on_body);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  if (curl_easy_perform(curl) != CURLE_OK) return {};
  return body;
}

}  // namespace platform
