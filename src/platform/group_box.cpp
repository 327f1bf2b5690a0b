#include "platform/group_box.h"

#include <QGroupBox>

#include "platform/native_widget.h"

namespace platform {
namespace {

std::unique_ptr<NativeWidget> make_group_box(Control& parent, const GroupBoxOptions& options) {
  auto* box = new QGroupBox(internal::from_gbk(options.text), internal::widget_of(&parent));
  return std::make_unique<NativeWidget>(box);
}

}  // namespace

GroupBox::GroupBox(Control& parent, const GroupBoxOptions& options)
    : Control(&parent, make_group_box(parent, options), options.geometry, options.font) {}

std::string GroupBox::text() const {
  auto* box = static_cast<QGroupBox*>(native().widget.data());
  return box == nullptr ? std::string() : internal::to_gbk(box->title());
}

}  // namespace platform
