// RAII owners of the platform's handles: registry keys, kernel handles and
// COM interface pointers. One owner per handle; moves pass it on.
#pragma once
#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace tl {

// Owns one handle; Close is the call that frees it. MinusOneIsNone for the
// calls that answer INVALID_HANDLE_VALUE rather than nullptr on failure.
template <typename H, auto Close, bool MinusOneIsNone = false>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  H get() const { return h_; }
  explicit operator bool() const {
    if constexpr (MinusOneIsNone) {
      if (h_ == INVALID_HANDLE_VALUE) return false;
    }
    return h_ != nullptr;
  }
  H release() { return std::exchange(h_, nullptr); }
  void reset(H h = nullptr) {
    if (*this) Close(h_);
    h_ = h;
  }
  // For calls that return the handle through an out parameter.
  H* put() {
    reset();
    return &h_;
  }

 private:
  H h_ = nullptr;
};

using RegKey = UniqueHandle<HKEY, RegCloseKey>;
// Process, thread, event and mutex handles.
using KernelHandle = UniqueHandle<HANDLE, CloseHandle>;
using ProcessHandle = KernelHandle;
// Tool-help snapshots and files answer INVALID_HANDLE_VALUE on failure.
using FileHandle = UniqueHandle<HANDLE, CloseHandle, true>;

// Holds one reference of a COM interface.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { reset(); }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  void** put_void() {
    reset();
    return reinterpret_cast<void**>(&p_);
  }

 private:
  T* p_ = nullptr;
};

}  // namespace tl
