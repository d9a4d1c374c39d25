// The per-thread working buffer of the pixel filters and decoders.
#include "render/pixels/ScratchBuffer.h"

namespace translit {

namespace {

struct ThreadScratch {
  std::unique_ptr<std::uint8_t[]> Data;
  std::size_t Size = 0;
  bool Taken = false;
};

ThreadScratch& Scratch() {
  thread_local ThreadScratch scratch;
  return scratch;
}

}  // namespace

ScratchLease::ScratchLease(std::size_t bytes) {
  ThreadScratch& s = Scratch();
  if (s.Taken) {
    FOwn.reset(new std::uint8_t[bytes]);
    FData = FOwn.get();
    return;
  }
  if (s.Size < bytes) {
    // Grows only: the old contents are not needed.
    s.Data.reset();
    s.Size = 0;
    s.Data.reset(new std::uint8_t[bytes]);
    s.Size = bytes;
  }
  s.Taken = true;
  FShared = true;
  FData = s.Data.get();
}

ScratchLease::~ScratchLease() {
  if (!FShared) return;
  ThreadScratch& s = Scratch();
  s.Taken = false;
  if (s.Size > kKeptBytes) {
    s.Data.reset();
    s.Size = 0;
  }
}

}  // namespace translit
