// The HTTP service the request engine talks to, step by step: check, crack a
// URL, open a session, set time limits, connect, open a request, credentials,
// options, headers, send, receive, read and the raw reply headers. Handles are
// owned by the transport that gave them out until close() is called on them.
// One transport serves one thread; handles of nested calls never mix.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// An open session, connection or request. 0 is the null handle.
using TransportHandle = std::uintptr_t;

// What crack_url finds in a URL. Texts are UTF-16 without a terminator.
struct CrackedUrl {
  int scheme = 0;        // kSchemeHttp or kSchemeHttps
  std::u16string host;   // without brackets around an IPv6 address
  int port = 0;          // the explicit port, else the scheme's default
  std::u16string path;   // from the first "/" after the host, up to "?"
  std::u16string extra;  // the query from its "?" on; empty without one
};

inline constexpr int kSchemeHttp = 1;
inline constexpr int kSchemeHttps = 2;

// Session access types.
inline constexpr int kAccessNoProxy = 1;
inline constexpr int kAccessNamedProxy = 3;

// open_request flag for a request over TLS.
inline constexpr std::uint32_t kRequestSecure = 0x00800000;

// Credential targets; the only scheme is basic authentication.
inline constexpr int kCredentialsServer = 0;
inline constexpr int kCredentialsProxy = 1;

// Request options and their values.
inline constexpr int kOptionSecurityFlags = 31;
inline constexpr int kOptionDisableFeature = 63;
inline constexpr int kOptionEnableFeature = 79;
inline constexpr std::uint32_t kSecurityIgnoreUnknownCa = 0x100;
inline constexpr std::uint32_t kSecurityIgnoreWrongUsage = 0x200;
inline constexpr std::uint32_t kSecurityIgnoreCertName = 0x1000;
inline constexpr std::uint32_t kSecurityIgnoreCertDate = 0x2000;
inline constexpr std::uint32_t kFeatureCookies = 1;
inline constexpr std::uint32_t kFeatureRedirects = 2;

class Transport {
 public:
  virtual ~Transport() = default;

  // True when the service can be used at all.
  virtual bool check_platform() = 0;
  // Splits `url` into its parts; false for a URL that cannot be fetched.
  virtual bool crack_url(std::u16string_view url, CrackedUrl* parts) = 0;
  // `proxy` is a proxy list: entries "scheme=host:port" apply to that scheme
  // only, a bare "host:port" to every scheme. Returns 0 on failure.
  virtual TransportHandle open_session(int access_type, std::u16string_view proxy) = 0;
  // Limits in milliseconds for resolving, connecting, sending and receiving.
  virtual bool set_timeouts(TransportHandle session, int resolve_ms, int connect_ms, int send_ms,
                            int receive_ms) = 0;
  virtual TransportHandle connect(TransportHandle session, std::u16string_view host, int port) = 0;
  virtual TransportHandle open_request(TransportHandle connection, std::u16string_view verb,
                                       std::u16string_view object_path, std::uint32_t flags) = 0;
  virtual bool set_credentials(TransportHandle request, int target, std::u16string_view user,
                               std::u16string_view password) = 0;
  virtual bool set_option(TransportHandle request, int option, std::uint32_t value) = 0;
  // Adds the header lines of `block` (CR LF separated) to the request.
  virtual bool add_headers(TransportHandle request, std::u16string_view block) = 0;
  // Sends the request with `body`. False when the request could not be sent.
  virtual bool send(TransportHandle request, std::string_view body) = 0;
  // Waits for the reply headers. False when no reply came.
  virtual bool receive(TransportHandle request) = 0;
  // How many body bytes can be read now; 0 at the end of the body.
  virtual bool query_data_available(TransportHandle request, std::size_t* count) = 0;
  virtual bool read_data(TransportHandle request, char* buffer, std::size_t count,
                         std::size_t* read) = 0;
  // The raw reply header block as UTF-16, each line ending in CR LF and a
  // blank line at the end. With `buffer` null, or too small, stores the
  // needed length in bytes (terminator included) in `*length_bytes` and
  // returns false; else fills the buffer and returns true.
  virtual bool query_raw_headers(TransportHandle request, char16_t* buffer,
                                 std::size_t* length_bytes) = 0;
  // Releases a handle; the null handle is ignored.
  virtual void close(TransportHandle handle) = 0;
};

// The process's transport over libcurl, for the user-interface thread.
Transport& default_transport();

}  // namespace platform
