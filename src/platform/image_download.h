// Downloads an image (or any resource) with one HTTP GET, the toolkit's
// "read a URL into bytes" call. Blocks the calling thread until the transfer
// ends, at most four times its time limit; holds nothing afterwards.
#pragma once

#include <string>

namespace platform {

struct ImageDownloadOptions {
  // Limit in seconds for connecting and for any stretch without data; the
  // whole download, redirects included, ends after four times this limit.
  int timeout_seconds = 30;
};

// Returns the body bytes of the reply, whatever its status code, following
// redirects (http and https only). Returns empty bytes when the download
// fails: a URL that is not http or https, no connection, no reply, a body
// cut short, a body beyond kMaxReplyBodyBytes, or time running out.
std::string download_image(const std::string& url, ImageDownloadOptions options = {});

}  // namespace platform
