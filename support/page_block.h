#pragma once
// Large tables and arenas come straight from the operating system's page
// allocator: committed, read-write and zero-filled. A failed request is
// retried, because a momentary shortage should not cost the user a table.

#include <cstddef>
#include <functional>

namespace qiru {

inline constexpr int kPageAllocationAttempts = 100;

// An owned, zero-filled block of pages. Empty when allocation failed.
class PageBlock {
 public:
  PageBlock() = default;
  // Asks for at least `bytes` bytes, up to kPageAllocationAttempts times.
  explicit PageBlock(std::size_t bytes);
  ~PageBlock();
  PageBlock(PageBlock&& other) noexcept;
  PageBlock& operator=(PageBlock&& other) noexcept;
  PageBlock(const PageBlock&) = delete;
  PageBlock& operator=(const PageBlock&) = delete;

  bool valid() const { return data_ != nullptr; }
  std::size_t size() const { return size_; }
  unsigned char* data() { return data_; }
  const unsigned char* data() const { return data_; }

 private:
  void release();
  unsigned char* data_ = nullptr;
  std::size_t size_ = 0;
};

// Tests make the allocator fail: the hook is asked before every attempt and
// the attempt fails when it returns true. Pass an empty function to restore.
void setPageAllocationFailureForTesting(std::function<bool()> shouldFail);

}  // namespace qiru
