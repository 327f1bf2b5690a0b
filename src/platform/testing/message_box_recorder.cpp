#include "platform/testing/message_box_recorder.h"

#include "platform/message_box_hook.h"

namespace platform {

MessageBoxRecorder::MessageBoxRecorder() {
  internal::set_message_box_hook([this](const std::string& title, const std::string& text) {
    shown_.push_back(Shown{.title = title, .text = text});
  });
}

MessageBoxRecorder::~MessageBoxRecorder() { internal::set_message_box_hook({}); }

}  // namespace platform
