#include "platform/control.h"

#include "platform/code_page.h"
#include "platform/handles.h"
#include "platform/native_widget.h"

namespace platform {

namespace internal {

QString from_gbk(std::string_view gbk) {
  std::u16string wide = multibyte_to_wide(gbk, kCodePageGbk);
  return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

std::string to_gbk(const QString& text) {
  return wide_to_multibyte(
      std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()),
      kCodePageGbk);
}

QColor to_qcolor(Colour colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QFont to_qfont(const Font& font) {
  QFont result;  // the default face unless one is named
  if (!font.face.empty()) result.setFamilies({from_gbk(font.face)});
  if (font.pixel_height > 0) result.setPixelSize(font.pixel_height);
  // Qt weights run 1..1000 like the Windows ones.
  result.setWeight(static_cast<QFont::Weight>(font.weight));
  return result;
}

QWidget* widget_of(Control* control) {
  return control == nullptr ? nullptr : control->native().widget.data();
}

}  // namespace internal

Control::Control(Control* parent, std::unique_ptr<NativeWidget> native, Rect geometry,
                 std::optional<Font> font)
    : parent_(parent),
      native_(std::move(native)),
      font_(std::move(font)),
      handle_(internal::new_handle()) {
  QWidget* widget = native_->widget;
  if (parent_ != nullptr) {
    widget->setGeometry(geometry.left, geometry.top, geometry.width, geometry.height);
    // Children appear with their parent unless hidden afterwards.
    widget->show();
  }
  if (font_) widget->setFont(internal::to_qfont(*font_));
}

Control::~Control() = default;

void Control::show() {
  if (native_->widget) native_->widget->show();
}

void Control::hide() {
  if (native_->widget) native_->widget->hide();
}

bool Control::visible() const { return native_->widget && !native_->widget->isHidden(); }

Rect Control::geometry() const {
  if (!native_->widget) return {};
  QRect r = native_->widget->geometry();
  return Rect{r.x(), r.y(), r.width(), r.height()};
}

}  // namespace platform
