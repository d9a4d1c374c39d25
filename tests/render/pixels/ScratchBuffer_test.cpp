// The per-thread working buffer: the same memory again for the next lease
// (the point of it: no fresh pages per call), memory of its own for a lease
// taken inside another, and a huge buffer not kept.
#include "render/pixels/ScratchBuffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

namespace translit {
namespace {

TEST(ScratchLease, ReusesTheThreadsBufferAndNeverSharesIt) {
  const std::uint8_t* first = nullptr;
  {
    ScratchLease a(1000);
    first = a.Data();
    std::memset(a.Data(), 1, 1000);
  }
  {
    ScratchLease again(800);
    EXPECT_EQ(again.Data(), first) << "a smaller lease takes the kept buffer";
    ScratchLease inner(800);
    EXPECT_NE(inner.Data(), again.Data()) << "a lease inside another gets its own memory";
    std::memset(inner.Data(), 2, 800);
    EXPECT_EQ(again.Data()[0], 1) << "the inner lease wrote into the outer one";
  }
  std::thread([first] {
    ScratchLease other(100);
    EXPECT_NE(other.Data(), first) << "another thread has a buffer of its own";
  }).join();
}

TEST(ScratchLease, AHugeBufferIsGivenBack) {
  const std::size_t huge = ScratchLease::kKeptBytes + 1;
  const std::uint8_t* hugeData = nullptr;
  {
    ScratchLease big(huge);
    big.Data()[huge - 1] = 7;  // all of it is there
    hugeData = big.Data();
  }
  ScratchLease small(16);
  EXPECT_NE(small.Data(), hugeData) << "the huge buffer was kept for the next lease";
}

}  // namespace
}  // namespace translit
