// The fund watch tool: creates the main window centred with all its controls,
// shows it (its created event runs the start-up handler) and runs the message
// loop until the window is closed. The program-wide objects (the colour
// store) are statics, released at exit. Nothing is read or saved here; the
// endpoint hosts are the ones this executable was built with.
#include "app/event_table.h"
#include "app/main_window.h"
#include "app/program_endpoints.h"
#include "platform/application.h"

int main() {
  platform::Application application;
  MainWindow main_window;
  wire_events(main_window, program_endpoints());
  main_window.window.show();
  return application.run();
}
