#include "platform/component_library.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<long> initialised_count{0};
std::atomic<long> released_count{0};

}  // namespace

void initialise_component_library() { initialised_count.fetch_add(1, std::memory_order_relaxed); }

void release_component_library() { released_count.fetch_add(1, std::memory_order_relaxed); }

ComponentLibraryCounts component_library_counts() {
  return {.initialised = initialised_count.load(std::memory_order_relaxed),
          .released = released_count.load(std::memory_order_relaxed)};
}

}  // namespace platform
