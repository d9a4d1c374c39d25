// An owning pointer to a COM interface: holds one reference, releases it when
// reset or destroyed. Move-only, so a reference is never released twice.
#pragma once

#include <unknwn.h>

#include <utility>

namespace translit {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes over a reference the caller already holds.
  static ComPtr Attach(T* p) {
    ComPtr c;
    c.FPtr = p;
    return c;
  }
  // Adds a reference of its own.
  static ComPtr Share(T* p) {
    if (p) p->AddRef();
    return Attach(p);
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : FPtr(std::exchange(other.FPtr, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      FPtr = std::exchange(other.FPtr, nullptr);
    }
    return *this;
  }
  ~ComPtr() { Reset(); }

  void Reset() {
    if (T* p = std::exchange(FPtr, nullptr)) p->Release();
  }
  T* Get() const { return FPtr; }
  T* operator->() const { return FPtr; }
  explicit operator bool() const { return FPtr != nullptr; }
  // For out parameters: releases what is held and hands out the slot.
  T** Put() {
    Reset();
    return &FPtr;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  ComPtr Copy() const { return Share(FPtr); }
  // The same object through another interface, or null.
  template <typename U>
  ComPtr<U> As(REFIID iid) const {
    ComPtr<U> other;
    if (FPtr && FAILED(FPtr->QueryInterface(iid, other.PutVoid()))) other.Reset();
    return other;
  }

 private:
  T* FPtr = nullptr;
};

}  // namespace translit
