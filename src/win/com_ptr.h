// An owning COM interface pointer: one reference held, released once,
// movable; copies take a reference of their own. No raw Release chains.
#pragma once

#include <unknwn.h>

#include <utility>

namespace win {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes over a reference the caller already owns (as COM out-parameters give).
  static ComPtr Adopt(T* raw) {
    ComPtr p;
    p.ptr_ = raw;
    return p;
  }
  // Takes a reference of its own.
  static ComPtr Share(T* raw) {
    if (raw != nullptr) raw->AddRef();
    return Adopt(raw);
  }
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr& other) : ptr_(other.ptr_) {
    if (ptr_ != nullptr) ptr_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(ptr_, other.ptr_);
    return *this;
  }

  T* Get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }
  void Reset() {
    if (T* old = std::exchange(ptr_, nullptr)) old->Release();
  }
  // For COM out-parameters: releases what was held, then gives the slot.
  T** Put() {
    Reset();
    return &ptr_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  T* Detach() { return std::exchange(ptr_, nullptr); }

  template <class U>
  ComPtr<U> As() const {
    ComPtr<U> other;
    if (ptr_ != nullptr) ptr_->QueryInterface(__uuidof(U), reinterpret_cast<void**>(other.Put()));
    return other;
  }

 private:
  T* ptr_ = nullptr;
};

// `unknown`'s interface `U`, or an empty pointer.
template <class U>
ComPtr<U> QueryInterfaceOf(IUnknown* unknown) {
  return ComPtr<IUnknown>::Share(unknown).template As<U>();
}

}  // namespace win
