#include "device/libusb/plug_notice_thread.h"

#include <utility>

namespace qiru {

PlugNoticeThread::PlugNoticeThread(Deliver deliver) : deliver_(std::move(deliver)), thread_([this] { run(); }) {}

void PlugNoticeThread::post(std::uint32_t status) {
  {
    std::lock_guard lock(mutex_);
    if (stopRequested_) return;
    pending_.push_back(status);
  }
  wake_.notify_one();
}

void PlugNoticeThread::stop() {
  {
    std::lock_guard lock(mutex_);
    stopRequested_ = true;
    pending_.clear();
  }
  wake_.notify_one();
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void PlugNoticeThread::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopRequested_ || !pending_.empty(); });
    if (stopRequested_) return;
    const std::uint32_t status = pending_.front();
    pending_.pop_front();
    lock.unlock();
    deliver_(status);
    lock.lock();
  }
}

}  // namespace qiru
