#pragma once
// The libusb backend's notice thread. libusb announces plugging from inside
// its event handling, where a device must not be opened; the program's plug
// routine opens the machine and talks to it. So the hotplug callback only
// posts the notice here, and this thread hands the notices to the plug
// routines, one after another, in the order they came.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace qiru {

class PlugNoticeThread {
 public:
  using Deliver = std::function<void(std::uint32_t status)>;
  explicit PlugNoticeThread(Deliver deliver);
  // Stops the thread; notices not yet delivered are dropped.
  ~PlugNoticeThread() { stop(); }
  PlugNoticeThread(const PlugNoticeThread&) = delete;
  PlugNoticeThread& operator=(const PlugNoticeThread&) = delete;

  // Never waits for a delivery: safe from inside libusb's callbacks.
  void post(std::uint32_t status);
  void stop();

 private:
  void run();

  Deliver deliver_;
  std::mutex mutex_;  // guards pending_ and stopRequested_
  std::condition_variable wake_;
  std::deque<std::uint32_t> pending_;
  bool stopRequested_ = false;
  std::thread thread_;  // last: starts once everything above exists
};

}  // namespace qiru
