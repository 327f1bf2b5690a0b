// Lets the window process its pending events from inside a running handler,
// the way the program's long operations keep the window alive. Call it on the
// user-interface thread only.
#pragma once

namespace platform {

// Dispatches every event waiting in the user-interface thread's queue and
// returns. Does nothing when no application object exists.
void process_pending_events();

}  // namespace platform
