#include "support/page_block.h"

#include <atomic>
#include <mutex>
#include <utility>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace qiru {
namespace {

std::mutex failureHookMutex;
std::function<bool()> failureHook;
std::atomic<bool> failureHookSet{false};

bool injectedFailure() {
  if (!failureHookSet.load(std::memory_order_acquire)) return false;
  std::lock_guard lock(failureHookMutex);
  return failureHook && failureHook();
}

void* allocatePages(std::size_t bytes) {
#if defined(_WIN32)
  return VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
#else
  void* pages = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return pages == MAP_FAILED ? nullptr : pages;
#endif
}

void releasePages(void* pages, std::size_t bytes) {
#if defined(_WIN32)
  (void)bytes;
  VirtualFree(pages, 0, MEM_RELEASE);
#else
  munmap(pages, bytes);
#endif
}

}  // namespace

void setPageAllocationFailureForTesting(std::function<bool()> shouldFail) {
  std::lock_guard lock(failureHookMutex);
  failureHook = std::move(shouldFail);
  failureHookSet.store(static_cast<bool>(failureHook), std::memory_order_release);
}

PageBlock::PageBlock(std::size_t bytes) {
  if (bytes == 0) bytes = 1;
  for (int attempt = 0; attempt < kPageAllocationAttempts; ++attempt) {
    if (injectedFailure()) continue;
    if (void* pages = allocatePages(bytes)) {
      data_ = static_cast<unsigned char*>(pages);
      size_ = bytes;
      return;
    }
  }
}

PageBlock::~PageBlock() { release(); }

PageBlock::PageBlock(PageBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

PageBlock& PageBlock::operator=(PageBlock&& other) noexcept {
  if (this != &other) {
    release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

void PageBlock::release() {
  if (data_) releasePages(data_, size_);
  data_ = nullptr;
  size_ = 0;
}

}  // namespace qiru
