#include "platform/failing_transport.h"

#include "platform/code_page.h"

namespace platform {
namespace {

std::string utf8(std::u16string_view units) { return wide_to_multibyte(units, kCodePageUtf8); }

}  // namespace

bool FailingTransport::fails(TransportStep step) {
  record.steps.push_back(step);
  return step == fail_at;
}

TransportHandle FailingTransport::opened(TransportHandle handle) {
  if (handle != 0) record.opened.push_back(handle);
  return handle;
}

bool FailingTransport::check_platform() {
  return !fails(TransportStep::kCheckPlatform) && inner_.check_platform();
}

bool FailingTransport::crack_url(std::u16string_view url, CrackedUrl* parts) {
  return !fails(TransportStep::kCrackUrl) && inner_.crack_url(url, parts);
}

TransportHandle FailingTransport::open_session(int access_type, std::u16string_view proxy) {
  record.access_type = access_type;
  record.proxy = utf8(proxy);
  if (fails(TransportStep::kOpenSession)) return 0;
  return opened(inner_.open_session(access_type, proxy));
}

bool FailingTransport::set_timeouts(TransportHandle session, int resolve_ms, int connect_ms,
                                    int send_ms, int receive_ms) {
  record.timeouts = {resolve_ms, connect_ms, send_ms, receive_ms};
  return !fails(TransportStep::kSetTimeouts) &&
         inner_.set_timeouts(session, resolve_ms, connect_ms, send_ms, receive_ms);
}

TransportHandle FailingTransport::connect(TransportHandle session, std::u16string_view host,
                                          int port) {
  record.host = utf8(host);
  record.port = port;
  if (fails(TransportStep::kConnect)) return 0;
  return opened(inner_.connect(session, host, port));
}

TransportHandle FailingTransport::open_request(TransportHandle connection, std::u16string_view verb,
                                               std::u16string_view object_path,
                                               std::uint32_t flags) {
  record.verb = utf8(verb);
  record.object_path = utf8(object_path);
  record.request_flags = flags;
  if (fails(TransportStep::kOpenRequest)) return 0;
  return opened(inner_.open_request(connection, verb, object_path, flags));
}

bool FailingTransport::set_credentials(TransportHandle request, int target,
                                       std::u16string_view user, std::u16string_view password) {
  record.credentials.push_back(std::to_string(target) + ":" + utf8(user) + ":" + utf8(password));
  TransportStep step = target == kCredentialsProxy ? TransportStep::kSetProxyCredentials
                                                   : TransportStep::kSetServerCredentials;
  return !fails(step) && inner_.set_credentials(request, target, user, password);
}

bool FailingTransport::set_option(TransportHandle request, int option, std::uint32_t value) {
  record.options.emplace_back(option, value);
  TransportStep step = TransportStep::kSetCookieFeature;
  if (option == kOptionSecurityFlags) step = TransportStep::kSetSecurityFlags;
  if (option == kOptionDisableFeature && value == kFeatureRedirects) {
    step = TransportStep::kSetRedirectFeature;
  }
  return !fails(step) && inner_.set_option(request, option, value);
}

bool FailingTransport::add_headers(TransportHandle request, std::u16string_view block) {
  record.header_block = utf8(block);
  return !fails(TransportStep::kAddHeaders) && inner_.add_headers(request, block);
}

bool FailingTransport::send(TransportHandle request, std::string_view body) {
  record.body = std::string(body);
  return !fails(TransportStep::kSend) && inner_.send(request, body);
}

bool FailingTransport::receive(TransportHandle request) {
  return !fails(TransportStep::kReceive) && inner_.receive(request);
}

bool FailingTransport::query_data_available(TransportHandle request, std::size_t* count) {
  return !fails(TransportStep::kQueryDataAvailable) && inner_.query_data_available(request, count);
}

bool FailingTransport::read_data(TransportHandle request, char* buffer, std::size_t count,
                                 std::size_t* read) {
  *read = 0;
  return !fails(TransportStep::kReadData) && inner_.read_data(request, buffer, count, read);
}

bool FailingTransport::query_raw_headers(TransportHandle request, char16_t* buffer,
                                         std::size_t* length_bytes) {
  if (buffer == nullptr) return inner_.query_raw_headers(request, buffer, length_bytes);
  return !fails(TransportStep::kQueryRawHeaders) &&
         inner_.query_raw_headers(request, buffer, length_bytes);
}

void FailingTransport::close(TransportHandle handle) {
  record.closed.push_back(handle);
  inner_.close(handle);
}

}  // namespace platform
