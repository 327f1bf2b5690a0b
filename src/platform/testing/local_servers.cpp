#include "platform/testing/local_servers.h"

#ifndef CPPHTTPLIB_OPENSSL_SUPPORT
#define CPPHTTPLIB_OPENSSL_SUPPORT
#endif
#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace testing_servers {
namespace {

bool same_ignoring_case(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

struct CertificateFiles {
  std::string directory, certificate, key;
  ~CertificateFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
  }
};

// A P-256 key and a self-signed certificate for `name`, valid from
// `not_before` to `not_after` seconds from now, written as PEM files.
std::unique_ptr<CertificateFiles> make_certificate(CertificateKind kind) {
  std::string name = kind == CertificateKind::kWrongName ? "wrong.invalid" : "127.0.0.1";
  long not_before = kind == CertificateKind::kExpired ? -7200 : -60;
  long not_after = kind == CertificateKind::kExpired ? -3600 : 3600;

  EVP_PKEY* key = EVP_EC_gen("P-256");
  X509* cert = X509_new();
  X509_set_version(cert, 2);
  ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
  X509_gmtime_adj(X509_getm_notBefore(cert), not_before);
  X509_gmtime_adj(X509_getm_notAfter(cert), not_after);
  X509_set_pubkey(cert, key);
  X509_NAME* subject = X509_get_subject_name(cert);
  X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(name.c_str()), -1, -1, 0);
  X509_set_issuer_name(cert, subject);
  X509_sign(cert, key, EVP_sha256());

  char pattern[] = "/tmp/fundwatch-cert-XXXXXX";
  if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
  auto files = std::make_unique<CertificateFiles>();
  files->directory = pattern;
  files->certificate = files->directory + "/cert.pem";
  files->key = files->directory + "/key.pem";
  FILE* out = std::fopen(files->certificate.c_str(), "w");
  PEM_write_X509(out, cert);
  std::fclose(out);
  out = std::fopen(files->key.c_str(), "w");
  PEM_write_PrivateKey(out, key, nullptr, nullptr, 0, nullptr, nullptr);
  std::fclose(out);
  X509_free(cert);
  EVP_PKEY_free(key);
  return files;
}

}  // namespace

std::string ServedRequest::header(const std::string& name) const {
  for (const auto& [key, value] : headers) {
    if (same_ignoring_case(key, name)) return value;
  }
  return {};
}

struct LocalServer::Impl {
  std::unique_ptr<CertificateFiles> certificate;
  std::unique_ptr<httplib::Server> server;
  std::thread thread;
  mutable std::mutex mutex;
  std::vector<ServedRequest> requests;
};

LocalServer::LocalServer(Handler handler, LocalServerOptions options)
    : impl_(std::make_unique<Impl>()), tls_(options.tls) {
  if (options.tls) {
    impl_->certificate = make_certificate(options.certificate);
    impl_->server = std::make_unique<httplib::SSLServer>(impl_->certificate->certificate.c_str(),
                                                         impl_->certificate->key.c_str());
  } else {
    impl_->server = std::make_unique<httplib::Server>();
  }
  Impl* impl = impl_.get();
  auto route = [impl, handler](const httplib::Request& request, httplib::Response& response) {
    ServedRequest served{.method = request.method, .target = request.target, .body = request.body};
    for (const auto& header : request.headers) served.headers.push_back(header);
    {
      std::lock_guard lock(impl->mutex);
      impl->requests.push_back(served);
    }
    Reply reply = handler(served);
    response.status = reply.status;
    for (const auto& [name, value] : reply.headers) response.headers.emplace(name, value);
    response.set_content(reply.body, reply.content_type.c_str());
  };
  httplib::Server& server = *impl_->server;
  server.Get(".*", route);
  server.Post(".*", route);
  server.Put(".*", route);
  server.Delete(".*", route);
  server.Options(".*", route);
  server.set_keep_alive_max_count(1);
  port_ = server.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("cannot bind a loopback port");
  impl_->thread = std::thread([&server] { server.listen_after_bind(); });
  for (int i = 0; i < 200 && !server.is_running(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

LocalServer::~LocalServer() {
  impl_->server->stop();
  impl_->thread.join();
}

std::string LocalServer::url(const std::string& path) const {
  return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<ServedRequest> LocalServer::requests() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->requests;
}

bool RawConnection::send(const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    if (stopping_) return false;
    pollfd p{fd_, POLLOUT, 0};
    if (poll(&p, 1, 20) <= 0) continue;
    ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

bool RawConnection::sleep_for(std::chrono::milliseconds pause) {
  auto until = std::chrono::steady_clock::now() + pause;
  while (!stopping_ && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return !stopping_;
}

void RawConnection::reset() {
  linger hard{.l_onoff = 1, .l_linger = 0};
  setsockopt(fd_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  shutdown(fd_, SHUT_RDWR);
}

void RawConnection::wait_until_stopped() {
  while (!stopping_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void RawConnection::drain() {
  char buffer[4096];
  while (!stopping_) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, 20) <= 0) continue;
    if (recv(fd_, buffer, sizeof buffer, 0) <= 0) return;
  }
}

namespace {

// A socket listening on an ephemeral port of 127.0.0.1 with `backlog`;
// its port goes to *port. Throws when it cannot listen.
int listen_on_loopback(int backlog, int* port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(fd, backlog) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (fd >= 0) ::close(fd);
    throw std::runtime_error("cannot listen on a loopback port");
  }
  *port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

RawServer::RawServer(Script script, RawServerOptions options)
    : script_(std::move(script)), options_(options) {
  listener_ = listen_on_loopback(16, &port_);
  thread_ = std::thread([this] { run(); });
}

RawServer::~RawServer() {
  stopping_ = true;
  thread_.join();
  ::close(listener_);
}

void RawServer::run() {
  while (!stopping_) {
    pollfd p{listener_, POLLIN, 0};
    if (poll(&p, 1, 20) <= 0) continue;
    int fd = accept(listener_, nullptr, nullptr);
    if (fd < 0) continue;
    // Read the request head and a Content-Length body, for at most 2 s.
    std::string request;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    std::size_t wanted = std::string::npos;
    while (std::chrono::steady_clock::now() < deadline && !stopping_) {
      if (wanted != std::string::npos && request.size() >= wanted) break;
      pollfd c{fd, POLLIN, 0};
      if (poll(&c, 1, 20) <= 0) continue;
      char buffer[4096];
      ssize_t n = recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      request.append(buffer, static_cast<std::size_t>(n));
      std::size_t end = request.find("\r\n\r\n");
      if (end != std::string::npos && wanted == std::string::npos) {
        if (!options_.read_body) break;
        std::size_t body = 0;
        std::string head = request.substr(0, end);
        for (const char* name : {"\r\nContent-Length: ", "\r\ncontent-length: "}) {
          std::size_t at = head.find(name);
          if (at != std::string::npos) body = std::stoul(head.substr(at + std::strlen(name)));
        }
        wanted = end + 4 + body;
      }
    }
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    RawConnection connection(fd, stopping_);
    script_(connection, request);
    ::close(fd);
  }
}

std::string RawServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> RawServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

FullListener::FullListener() {
  listener_ = listen_on_loopback(0, &port_);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port_));
  // Connections that are never accepted fill the queue; the kernel then
  // drops every further handshake, so a client waits for its own limit.
  for (int i = 0; i < 4; ++i) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    fillers_.push_back(fd);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

FullListener::~FullListener() {
  for (int fd : fillers_) ::close(fd);
  ::close(listener_);
}

std::string FullListener::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int closed_port() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

namespace {
int entries(const char* directory) {
  int count = 0;
  for (auto it = std::filesystem::directory_iterator(directory);
       it != std::filesystem::directory_iterator(); ++it) {
    ++count;
  }
  return count;
}
}  // namespace

int open_descriptor_count() { return entries("/proc/self/fd"); }
int thread_count() { return entries("/proc/self/task"); }

}  // namespace testing_servers
