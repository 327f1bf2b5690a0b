#include "platform/events.h"

#include <QCoreApplication>

namespace platform {

void process_pending_events() {
  if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
}

}  // namespace platform
