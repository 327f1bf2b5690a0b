// The system component library that objects initialise when they are made and
// release when they end. There is nothing to load on this platform, so the
// layer counts the calls, which lets tests check that they stay balanced.
// Safe to call from any thread.
#pragma once

namespace platform {

void initialise_component_library();
void release_component_library();

struct ComponentLibraryCounts {
  long initialised = 0;  // calls of initialise_component_library() so far
  long released = 0;     // calls of release_component_library() so far
};

ComponentLibraryCounts component_library_counts();

}  // namespace platform
