// The transport over libcurl. The whole exchange runs inside send(): it
// connects, sends, and collects the final reply's header block and body, which
// receive(), query_data_available() and read_data() then hand out. Each
// request uses its own curl handle, closed before send() returns.
#pragma once

#include <memory>

#include "platform/transport.h"

namespace platform {

std::unique_ptr<Transport> make_curl_transport();

// The step at which a finished libcurl transfer failed.
enum class TransferStep { kNone, kSend, kReceive, kRead };

// How far a transfer got before it ended.
struct TransferProgress {
  bool connected = false;      // the connection (and TLS) stood, the request went out
  bool reply_headers = false;  // a final reply's header block arrived whole
};

// Maps a libcurl result code (a CURLcode value) to the failing step.
TransferStep transfer_failure_step(int curl_code, TransferProgress progress);

}  // namespace platform
