// fundwatch-sample-server: runs the sample data server until SIGINT or
// SIGTERM.
//
//   fundwatch-sample-server [--http-port=N] [--https-port=N] [--delay-ms=N]
//
// Ports default to 0 (a free port is picked). Once both listeners are up it
// prints two lines and flushes them:
//   http http://127.0.0.1:<port>
//   https https://127.0.0.1:<port>
// Exit status 0 after a signal, 2 for a bad argument, 1 when it cannot start.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sample_server/sample_server.h"

namespace {

// Parses "--name=N" or "--name N" into *value (a non-negative integer).
bool parse_option(int argc, char** argv, int* i, const char* name, long* value) {
  std::size_t length = std::strlen(name);
  const char* text = nullptr;
  if (std::strncmp(argv[*i], name, length) != 0) return false;
  if (argv[*i][length] == '=') {
    text = argv[*i] + length + 1;
  } else if (argv[*i][length] == '\0' && *i + 1 < argc) {
    text = argv[++*i];
  } else {
    return false;
  }
  char* end = nullptr;
  long parsed = std::strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || parsed < 0 || parsed > 86400000) {
    std::fprintf(stderr, "fundwatch-sample-server: bad value for %s: %s\n", name, text);
    std::exit(2);
  }
  *value = parsed;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  long http_port = 0, https_port = 0, delay_ms = 0;
  for (int i = 1; i < argc; ++i) {
    if (parse_option(argc, argv, &i, "--http-port", &http_port) ||
        parse_option(argc, argv, &i, "--https-port", &https_port) ||
        parse_option(argc, argv, &i, "--delay-ms", &delay_ms)) {
      continue;
    }
    std::fprintf(stderr,
                 "usage: fundwatch-sample-server [--http-port=N] [--https-port=N] "
                 "[--delay-ms=N]\n");
    return 2;
  }
  if (http_port > 65535 || https_port > 65535) {
    std::fprintf(stderr, "fundwatch-sample-server: a port is above 65535\n");
    return 2;
  }

  // Block the stop signals before any listener thread exists, so every
  // thread inherits the mask and sigwait below receives them.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);  // a client that hangs up must not end the server

  sample::SampleServer server({.http_port = static_cast<int>(http_port),
                               .https_port = static_cast<int>(https_port),
                               .delay = std::chrono::milliseconds(delay_ms)});
  if (!server.start()) {
    std::fprintf(stderr, "fundwatch-sample-server: cannot listen on 127.0.0.1\n");
    return 1;
  }
  std::printf("http %s\nhttps %s\n", server.http_base().c_str(), server.https_base().c_str());
  std::fflush(stdout);

  int signal_number = 0;
  sigwait(&stop_signals, &signal_number);
  server.stop();
  return 0;
}
