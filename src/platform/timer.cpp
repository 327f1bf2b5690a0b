#include "platform/timer.h"

#include <QTimer>

namespace platform {

struct Timer::Impl {
  QTimer timer;
  int period = 0;
  std::function<void()> elapsed;
};

Timer::Timer(const TimerOptions& options)
    : impl_(std::make_unique<Impl>()), parent_(options.parent), geometry_(options.geometry) {
  impl_->timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&impl_->timer, &QTimer::timeout, [impl = impl_.get()] {
    if (impl->elapsed) impl->elapsed();
  });
  set_period(options.period_ms);
}

Timer::~Timer() = default;

void Timer::set_period(int period_ms) {
  if (period_ms == impl_->period) return;  // the running countdown goes on
  impl_->period = period_ms;
  impl_->timer.stop();
  if (period_ms > 0) impl_->timer.start(period_ms);
}

int Timer::period() const { return impl_->period; }

bool Timer::running() const { return impl_->timer.isActive(); }

int Timer::remaining_ms() const { return impl_->timer.remainingTime(); }

void Timer::on_elapsed(std::function<void()> handler) { impl_->elapsed = std::move(handler); }

}  // namespace platform
