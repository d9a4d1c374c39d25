// Working memory for the passes in between of the pixel filters and the
// decoders, kept per thread from call to call. Memory that is new to the
// process costs a page fault on its first touch, and a heap hands large
// blocks back to the system when they are freed (Wine's heap does so for
// everything above its last used block): a filter that took a fresh buffer
// of a few megabytes on every call spent most of its time in those faults.
// A lease of the buffer that is already taken on the thread (a filter
// running inside another) gets memory of its own instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace translit {

class ScratchLease {
 public:
  // At least bytes bytes, contents unspecified.
  explicit ScratchLease(std::size_t bytes);
  ~ScratchLease();
  ScratchLease(const ScratchLease&) = delete;
  ScratchLease& operator=(const ScratchLease&) = delete;

  std::uint8_t* Data() const { return FData; }

  // Buffers above this are given back when the lease ends, so that one huge
  // picture does not keep its memory for the life of the thread.
  static constexpr std::size_t kKeptBytes = 32u << 20;

 private:
  std::uint8_t* FData = nullptr;
  std::unique_ptr<std::uint8_t[]> FOwn;  // when the thread's buffer was taken
  bool FShared = false;
};

}  // namespace translit
