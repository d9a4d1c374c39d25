// Sets a flag for as long as a scope lives and gives it its old value back
// however the scope ends, so that scopes of one flag may nest.
#pragma once

namespace fw {

class FlagScope {
 public:
  explicit FlagScope(bool& flag) : FFlag(flag), FOld(flag) { flag = true; }
  ~FlagScope() { FFlag = FOld; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& FFlag;
  bool FOld;
};

}  // namespace fw
