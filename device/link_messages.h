#pragma once
// What the machine link tells the user when a machine cannot be watched,
// reached or listened to. Every box is topmost, owned by the main window
// and closes by itself.

#include <cstdint>

#include "device/link_test.h"
#include "support/messages.h"

namespace qiru {

inline constexpr int kPlugMonitorMessageTimeoutMs = 5000;
inline constexpr int kStatusErrorMessageTimeoutMs = 5000;
inline constexpr int kConnectionErrorMessageTimeoutMs = 3000;

// The plug monitor of the side's machine could not be installed.
void showPlugMonitorFailed(MessageService& messages, int side);
// The machine kept failing the link test; `result` is the last code.
void showConnectionError(MessageService& messages, int side, LinkTestResult result);
// The interrupt routine could not be installed; `returned` is what the
// library answered.
void showStatusError(MessageService& messages, int side, std::int32_t returned);

}  // namespace qiru
