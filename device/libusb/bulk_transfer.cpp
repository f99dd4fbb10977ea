#include "device/libusb/bulk_transfer.h"

#include <libusb.h>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace qiru {
namespace {

struct Completion {
  std::mutex mutex;
  std::condition_variable done;
  bool completed = false;  // guarded by mutex
};

// On the event thread. libusb does not touch the transfer once this has
// returned, and the waiter frees it only after it has seen `completed` under
// the mutex, which this holds until it has finished.
void LIBUSB_CALL transferCompleted(libusb_transfer* transfer) {
  auto* completion = static_cast<Completion*>(transfer->user_data);
  std::lock_guard lock(completion->mutex);
  completion->completed = true;
  completion->done.notify_one();
}

struct TransferFree {
  void operator()(libusb_transfer* transfer) const { libusb_free_transfer(transfer); }
};

}  // namespace

std::optional<int> bulkTransfer(libusb_device_handle* handle, unsigned char endpoint, unsigned char* buffer,
                                int length, unsigned int timeoutMs) {
  const std::unique_ptr<libusb_transfer, TransferFree> transfer(libusb_alloc_transfer(0));
  if (!transfer) return std::nullopt;
  Completion completion;
  libusb_fill_bulk_transfer(transfer.get(), handle, endpoint, buffer, length, transferCompleted, &completion,
                            timeoutMs);
  if (libusb_submit_transfer(transfer.get()) != LIBUSB_SUCCESS) return std::nullopt;
  // libusb ends every submitted transfer with a completion: done, failed,
  // timed out or the device gone.
  std::unique_lock lock(completion.mutex);
  completion.done.wait(lock, [&completion] { return completion.completed; });
  if (transfer->status != LIBUSB_TRANSFER_COMPLETED) return std::nullopt;
  return transfer->actual_length;
}

}  // namespace qiru
