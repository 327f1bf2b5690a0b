// Modal message boxes with an OK button only and no icon. The call returns
// when the user has answered. Text is GBK. User-interface thread only.
#pragma once

#include <string>

namespace platform {

// Shows `text` under the caption `title` and waits for OK.
void message_box(const std::string& text, const std::string& title);

}  // namespace platform
