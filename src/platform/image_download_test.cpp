#include "platform/image_download.h"

#include <gtest/gtest.h>

#include <chrono>

#include "platform/testing/local_servers.h"

namespace platform {
namespace {

using testing_servers::LocalServer;
using testing_servers::RawConnection;
using testing_servers::RawServer;
using testing_servers::Reply;
using testing_servers::ServedRequest;

const std::string kPng("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);

TEST(ImageDownload, ReturnsTheBodyWhateverTheStatus) {
  LocalServer server([](const ServedRequest& request) {
    if (request.target == "/moved")
      return Reply{.status = 302, .headers = {{"Location", "/chart.png"}}};
    int status = request.target == "/missing.png" ? 404 : 200;
    return Reply{
        .status = status, .body = status == 200 ? kPng : "not here", .content_type = "image/png"};
  });
  EXPECT_EQ(download_image(server.url("/chart.png")), kPng);
  EXPECT_EQ(download_image(server.url("/moved")), kPng);
  EXPECT_EQ(download_image(server.url("/missing.png")), "not here");
  ASSERT_EQ(server.requests().size(), 4u);
  EXPECT_EQ(server.requests()[0].method, "GET");
}

TEST(ImageDownload, FailuresGiveEmptyBytes) {
  EXPECT_EQ(download_image("http://127.0.0.1:" + std::to_string(testing_servers::closed_port()) +
                           "/a.png"),
            "");
  EXPECT_EQ(download_image("file:///etc/hostname"), "");
  EXPECT_EQ(download_image("http://127.0.0.1/a b.png"), "");
  RawServer cut_short([](RawConnection& connection, const std::string&) {
    connection.send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n\x89PNG");
  });
  EXPECT_EQ(download_image(cut_short.url("/a.png")), "");
  RawServer silent(
      [](RawConnection& connection, const std::string&) { connection.wait_until_stopped(); });
  EXPECT_EQ(download_image(silent.url("/a.png"), {.timeout_seconds = 1}), "");
}

// Endpoints that would hold the window: each download ends within its
// limit (1 s per stretch, 4 s in all), gives nothing and leaves no thread or
// socket behind.
TEST(ImageDownload, HostileEndpointsGiveNothingWithinTheLimit) {
  const std::string header = "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\n";
  struct Case {
    const char* what;
    RawServer::Script script;
    double min_seconds = 0, max_seconds = 3;
  } cases[] = {
      {"a body that never ends",
       [&](RawConnection& c, const std::string&) {
         if (!c.send(header + "\r\n")) return;
         const std::string piece(1 << 20, 'x');
         while (c.send(piece)) {
         }
       },
       0, 7},
      {"a 70 MiB body",
       [&](RawConnection& c, const std::string&) {
         c.send(header + "Content-Length: 73400320\r\n\r\n" + std::string(1 << 20, 'x'));
       }},
      // A trickle never idle for long: only the deadline ends it. Ten bytes
      // a second, so libcurl's low-speed check (1 byte a second, measured in
      // whole seconds) never sees a quiet second, however the threads are
      // scheduled.
      {"one byte every 0.1 s",
       [&](RawConnection& c, const std::string&) {
         if (!c.send(header + "Content-Length: 1000\r\n\r\n")) return;
         while (c.sleep_for(std::chrono::milliseconds(100)) && c.send("x")) {
         }
       },
       3.9, 7},
  };
  for (const Case& c : cases) {
    int descriptors = testing_servers::open_descriptor_count();
    int threads = testing_servers::thread_count();
    std::string bytes = "unset";
    auto started = std::chrono::steady_clock::now();
    {
      RawServer server(c.script);
      bytes = download_image(server.url("/a.png"), {.timeout_seconds = 1});
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_EQ(bytes, "") << c.what;
    EXPECT_GE(seconds, c.min_seconds) << c.what;
    EXPECT_LT(seconds, c.max_seconds) << c.what;
    EXPECT_EQ(testing_servers::open_descriptor_count(), descriptors) << c.what;
    EXPECT_EQ(testing_servers::thread_count(), threads) << c.what;
  }
}

}  // namespace
}  // namespace platform
