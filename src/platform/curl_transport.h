// The transport over libcurl. The whole exchange runs inside send(): it
// connects, sends, follows redirects hop by hop, and collects the final
// reply's header block and body, which receive(), query_data_available() and
// read_data() then hand out. Each request uses its own curl handle, closed
// before send() returns on every path.
#pragma once

#include <cstddef>
#include <memory>

#include "platform/transport.h"

namespace platform {

std::unique_ptr<Transport> make_curl_transport();

// The largest reply body a transfer keeps; a longer one ends the transfer
// (the web request then fails reading, the image download gives nothing).
inline constexpr std::size_t kMaxReplyBodyBytes = 64u * 1024 * 1024;

}  // namespace platform
