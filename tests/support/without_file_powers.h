#pragma once
// Linux gives root every file whatever its mode. To see what a desktop user
// sees (a device node or a folder they may not open), the calling thread
// sets that power aside for the life of this object. Where the thread has no
// such power to begin with, nothing changes.

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>

namespace qiru::testing {

class WithoutFilePowers {
 public:
  WithoutFilePowers() {
    if (::syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
    constexpr std::uint32_t kFilePowers = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);
    lowered[0].effective &= ~kFilePowers;
    lowered_ = ::syscall(SYS_capset, &header_, lowered) == 0;
  }
  ~WithoutFilePowers() {
    if (lowered_) ::syscall(SYS_capset, &header_, saved_);
  }
  WithoutFilePowers(const WithoutFilePowers&) = delete;
  WithoutFilePowers& operator=(const WithoutFilePowers&) = delete;

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2]{};
  bool lowered_ = false;
};

}  // namespace qiru::testing
