// Platform-internal: lets GUI tests answer message boxes without a modal loop
// (see testing/message_box_recorder.h). The program never sets a hook.
#pragma once

#include <functional>
#include <string>

namespace platform::internal {

using MessageBoxHook = std::function<void(const std::string& title, const std::string& text)>;

// Installs `hook` (empty: none) and returns the one it replaces.
MessageBoxHook set_message_box_hook(MessageBoxHook hook);

}  // namespace platform::internal
