// A transport for tests: passes every step on to a real transport, records
// the values each step was given, and makes one chosen step fail instead.
// It borrows the inner transport, which must outlive it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/transport.h"

namespace platform {

enum class TransportStep {
  kNone,
  kCheckPlatform,
  kCrackUrl,
  kOpenSession,
  kSetTimeouts,
  kConnect,
  kOpenRequest,
  kSetServerCredentials,
  kSetProxyCredentials,
  kSetSecurityFlags,
  kSetCookieFeature,    // option 63 with value 1, or option 79
  kSetRedirectFeature,  // option 63 with value 2
  kAddHeaders,
  kSend,
  kReceive,
  kQueryDataAvailable,
  kReadData,
  kQueryRawHeaders,  // the call with a buffer
};

// What the steps were handed, in UTF-8 for easy comparison.
struct TransportRecord {
  std::vector<TransportStep> steps;  // every call, in order
  int access_type = 0;
  std::string proxy;
  std::vector<int> timeouts;  // resolve, connect, send, receive
  std::string host;
  int port = 0;
  std::string verb;
  std::string object_path;
  std::uint32_t request_flags = 0;
  std::vector<std::string> credentials;  // "target:user:password"
  std::vector<std::pair<int, std::uint32_t>> options;
  std::string header_block;
  std::string body;
  std::vector<TransportHandle> opened;
  std::vector<TransportHandle> closed;  // null handles included
};

class FailingTransport : public Transport {
 public:
  explicit FailingTransport(Transport& inner) : inner_(inner) {}

  // The step that fails; kNone lets every step through.
  TransportStep fail_at = TransportStep::kNone;
  TransportRecord record;

  bool check_platform() override;
  bool crack_url(std::u16string_view url, CrackedUrl* parts) override;
  TransportHandle open_session(int access_type, std::u16string_view proxy) override;
  bool set_timeouts(TransportHandle session, int resolve_ms, int connect_ms, int send_ms,
                    int receive_ms) override;
  TransportHandle connect(TransportHandle session, std::u16string_view host, int port) override;
  TransportHandle open_request(TransportHandle connection, std::u16string_view verb,
                               std::u16string_view object_path, std::uint32_t flags) override;
  bool set_credentials(TransportHandle request, int target, std::u16string_view user,
                       std::u16string_view password) override;
  bool set_option(TransportHandle request, int option, std::uint32_t value) override;
  bool add_headers(TransportHandle request, std::u16string_view block) override;
  bool send(TransportHandle request, std::string_view body) override;
  bool receive(TransportHandle request) override;
  bool query_data_available(TransportHandle request, std::size_t* count) override;
  bool read_data(TransportHandle request, char* buffer, std::size_t count,
                 std::size_t* read) override;
  bool query_raw_headers(TransportHandle request, char16_t* buffer,
                         std::size_t* length_bytes) override;
  void close(TransportHandle handle) override;

 private:
  bool fails(TransportStep step);
  TransportHandle opened(TransportHandle handle);

  Transport& inner_;
};

}  // namespace platform
