// Counts the task allocator's blocks that are still allocated, through the
// platform's malloc spy, so a test can see that an operation gives back
// every item list and string it took.
#pragma once

#include <windows.h>
#include <objidl.h>

namespace translit::test {

// Registered once for the whole test program (the spy cannot be removed while
// blocks it saw are alive); Outstanding() is the number of live spied blocks.
class MallocSpy {
 public:
  static void Install();
  static long Outstanding();
};

// Outstanding blocks gained while running body count times, after one
// warm-up run that may fill the shell's own caches.
template <typename Body>
long LeakedBlocks(int count, Body body) {
  body();
  long before = MallocSpy::Outstanding();
  for (int i = 0; i < count; ++i) body();
  return MallocSpy::Outstanding() - before;
}

}  // namespace translit::test
