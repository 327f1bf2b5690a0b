// Servers on 127.0.0.1 for network tests: an HTTP/HTTPS server that answers
// with a handler and remembers what it received, certificates made on the
// spot, and a raw socket server whose script may stall, cut a body short or
// send garbage. Each server runs its own thread on its own ephemeral port
// and joins it when destroyed.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace testing_servers {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

struct ServedRequest {
  std::string method = {};
  std::string target = {};  // path and query as sent
  std::string body = {};
  HeaderList headers = {};                            // names as the server library reports them
  std::string header(const std::string& name) const;  // first match, any case
};

struct Reply {
  int status = 200;
  HeaderList headers = {};  // written as given: names keep their case
  std::string body = {};
  std::string content_type = "text/plain";
};

enum class CertificateKind {
  kSelfSigned,  // issued for 127.0.0.1 by itself
  kExpired,     // self-signed and out of date
  kWrongName,   // self-signed for another host name
};

struct LocalServerOptions {
  bool tls = false;  // serve HTTPS with a certificate made for this server
  CertificateKind certificate = CertificateKind::kSelfSigned;
};

class LocalServer {
 public:
  using Handler = std::function<Reply(const ServedRequest&)>;
  explicit LocalServer(Handler handler, LocalServerOptions options = {});
  ~LocalServer();

  int port() const { return port_; }
  // "http://127.0.0.1:port" (or https) followed by `path`.
  std::string url(const std::string& path) const;
  std::vector<ServedRequest> requests() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  int port_ = 0;
  bool tls_ = false;
};

// One accepted connection of a RawServer.
class RawConnection {
 public:
  RawConnection(int fd, const std::atomic<bool>& stopping) : fd_(fd), stopping_(stopping) {}
  // False once the client is gone or the server is being destroyed.
  bool send(const std::string& bytes);
  // Waits, returning false early when the server is being destroyed.
  bool sleep_for(std::chrono::milliseconds pause);
  // Ends the connection with a reset instead of an orderly close.
  void reset();
  // Blocks until the server is being destroyed.
  void wait_until_stopped();
  // Reads whatever the client sends until it closes or the server stops.
  void drain();

 private:
  int fd_;
  const std::atomic<bool>& stopping_;
};

struct RawServerOptions {
  bool read_body = true;  // false: the script starts right after the request head
};

class RawServer {
 public:
  // `script` runs for every connection, after the request (headers and a
  // Content-Length body) was read; the connection closes when it returns.
  using Script = std::function<void(RawConnection&, const std::string& request)>;
  explicit RawServer(Script script, RawServerOptions options = {});
  ~RawServer();

  int port() const { return port_; }
  std::string url(const std::string& path) const;
  std::vector<std::string> requests() const;  // raw bytes as received

 private:
  void run();

  Script script_;
  RawServerOptions options_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// A listener on 127.0.0.1 that never accepts, with its queue full, so a
// connection attempt is never answered.
class FullListener {
 public:
  FullListener();
  ~FullListener();
  FullListener(const FullListener&) = delete;
  FullListener& operator=(const FullListener&) = delete;

  int port() const { return port_; }
  std::string url(const std::string& path) const;

 private:
  int listener_ = -1;
  int port_ = 0;
  std::vector<int> fillers_;
};

// A loopback port with nothing listening on it.
int closed_port();

// Open file descriptors and threads of this process, to show that a call
// leaves none behind.
int open_descriptor_count();
int thread_count();

}  // namespace testing_servers
