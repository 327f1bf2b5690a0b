#include "platform/picture_box.h"

#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include "platform/native_widget.h"

namespace platform {
namespace {

class TiledPicture : public QFrame {
 public:
  explicit TiledPicture(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Qt::black);  // the border line
    setPalette(colours);
  }

  void set_pixmap(QPixmap pixmap) {
    pixmap_ = std::move(pixmap);
    update();
  }
  bool has_pixmap() const { return !pixmap_.isNull(); }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QFrame::paintEvent(event);
    if (pixmap_.isNull()) return;
    QPainter painter(this);
    QRect inside = contentsRect();
    painter.setClipRect(inside);
    painter.drawTiledPixmap(inside, pixmap_, QPoint(0, 0));
  }

 private:
  QPixmap pixmap_;
};

TiledPicture* picture_of(const Control& control) {
  return static_cast<TiledPicture*>(control.native().widget.data());
}

}  // namespace

PictureBox::PictureBox(Control& parent, const PictureBoxOptions& options)
    : Control(&parent,
              std::make_unique<NativeWidget>(new TiledPicture(internal::widget_of(&parent))),
              options.geometry, std::nullopt) {
  if (!options.visible) hide();
}

void PictureBox::set_picture(std::optional<RgbaImage> image) {
  TiledPicture* picture = picture_of(*this);
  if (picture == nullptr) return;
  bool usable = image && image->width > 0 && image->height > 0 &&
                image->pixels.size() == static_cast<std::size_t>(image->width) *
                                            static_cast<std::size_t>(image->height) * 4;
  if (!usable) {
    picture->set_pixmap(QPixmap());
    return;
  }
  QImage frame(image->pixels.data(), image->width, image->height, image->width * 4,
               QImage::Format_RGBA8888);
  // fromImage copies the pixels, so the image may go now.
  picture->set_pixmap(QPixmap::fromImage(frame));
}

bool PictureBox::has_picture() const {
  TiledPicture* picture = picture_of(*this);
  return picture != nullptr && picture->has_pixmap();
}

}  // namespace platform
