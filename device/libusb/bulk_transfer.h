#pragma once
// A bulk transfer that waits for its completion on a condition of its own,
// while the backend's event thread handles libusb's events. libusb's
// synchronous call would have the calling thread look at the completion as
// well: it may see the transfer done and free it while the event thread is
// still finishing with it (the link test runs on the plug-notice thread, so
// this can happen at every plug-in).

#include <optional>

struct libusb_device_handle;

namespace qiru {

// Sends or fetches up to `length` bytes through `endpoint` (its direction
// bit says which) within timeoutMs (0: no limit). The event thread must be
// handling events until this returns. Returns the bytes moved, or nothing
// when the transfer failed, timed out or the device went away.
std::optional<int> bulkTransfer(libusb_device_handle* handle, unsigned char endpoint, unsigned char* buffer,
                                int length, unsigned int timeoutMs);

}  // namespace qiru
