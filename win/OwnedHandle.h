// One owner for a system handle: it closes the handle when it goes out of
// scope or is given another, moves and never copies. The closing function and
// what counts as "no handle" come from a traits type; kernel handles are the
// plain case here, GDI objects and device contexts are in win/GdiHandles.h.
#pragma once
#include <windows.h>

#include <utility>

template <typename Handle, typename Traits>
class TOwnedHandle {
 public:
  TOwnedHandle() = default;
  explicit TOwnedHandle(Handle handle) : handle_(handle) {}
  TOwnedHandle(TOwnedHandle&& other) noexcept : handle_(other.Detach()) {}
  TOwnedHandle& operator=(TOwnedHandle&& other) noexcept {
    if (this != &other) Reset(other.Detach());
    return *this;
  }
  TOwnedHandle(const TOwnedHandle&) = delete;
  TOwnedHandle& operator=(const TOwnedHandle&) = delete;
  ~TOwnedHandle() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return Traits::Valid(handle_); }
  // Closes what is held and keeps the new handle (none by default).
  void Reset(Handle handle = nullptr) {
    if (Traits::Valid(handle_)) Traits::Close(handle_);
    handle_ = handle;
  }
  // For out-parameters: closes what is held and hands out the slot.
  Handle* Put() {
    Reset();
    return &handle_;
  }
  // Hands the handle to a new owner, which closes it from now on.
  Handle Detach() { return std::exchange(handle_, nullptr); }

 private:
  Handle handle_ = nullptr;
};

// Files, pipes, processes and threads: CreateFile answers a failure with
// INVALID_HANDLE_VALUE, the others with null.
struct TKernelHandleTraits {
  static bool Valid(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE handle) { CloseHandle(handle); }
};
using TKernelHandle = TOwnedHandle<HANDLE, TKernelHandleTraits>;
