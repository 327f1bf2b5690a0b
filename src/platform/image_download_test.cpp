#include "platform/image_download.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace platform
