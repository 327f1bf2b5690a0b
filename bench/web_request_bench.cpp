// Compares web_request with a bare libcurl loop that also opens a fresh
// handle (and so a fresh connection) per request: 1,000 sequential GETs of a
// small reply from a loopback server each, in alternating rounds so machine
// noise hits both. Prints both rates and the median per-round time ratio.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bare_curl.h"
#include "http/web_request.h"
#include "platform/testing/local_servers.h"

namespace {

constexpr int kRounds = 10;
constexpr int kPerRound = 100;

template <typename Get>
double seconds_for(const std::string& url, const std::string& expected, Get get, int* failures) {
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kPerRound; ++i) {
    if (get(url) != expected) ++*failures;
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  const std::string body =
      "jsonpgz({\"fundcode\":\"000001\",\"gsz\":\"1.2345\",\"gszzl\":\"0.12\"});";
  testing_servers::LocalServer server(
      [&](const testing_servers::ServedRequest&) { return testing_servers::Reply{.body = body}; });
  std::string url = server.url("/js/000001.js");

  // Warm up both paths once.
  web_request(url);
  bench::bare_get(url);

  int failures = 0;
  double engine_total = 0, bare_total = 0;
  std::vector<double> ratios;
  for (int round = 0; round < kRounds; ++round) {
    double engine = seconds_for(
        url, body, [](const std::string& u) { return web_request(u); }, &failures);
    double bare = seconds_for(url, body, bench::bare_get, &failures);
    engine_total += engine;
    bare_total += bare;
    ratios.push_back(engine / bare);
    std::printf("round %2d: web_request %.1f req/s, bare %.1f req/s, ratio %.3f\n", round + 1,
                kPerRound / engine, kPerRound / bare, engine / bare);
  }
  std::sort(ratios.begin(), ratios.end());
  double median = (ratios[kRounds / 2 - 1] + ratios[kRounds / 2]) / 2;
  int total = kRounds * kPerRound;
  std::printf("web_request: %d GETs in %.3f s, %.1f req/s\n", total, engine_total,
              total / engine_total);
  std::printf("bare libcurl: %d GETs in %.3f s, %.1f req/s\n", total, bare_total,
              total / bare_total);
  if (failures > 0) std::printf("failed requests: %d\n", failures);
  std::printf("web_request/bare time ratio: %.3f\n", median);
  curl_global_cleanup();
  return failures == 0 ? 0 : 1;
}
