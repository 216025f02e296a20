#pragma once

// Ownership of the system's handles: each released exactly once, when its owner goes.

#include <windows.h>

#include <utility>

namespace orvex {

// A handle that `Release` gives back to the system; a null handle owns nothing.
template <typename Handle, auto Release>
class UniqueResource {
 public:
  UniqueResource() = default;
  explicit UniqueResource(Handle handle) : handle_(handle) {}
  ~UniqueResource() { Reset(); }
  UniqueResource(UniqueResource&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset() {
    if (handle_) {
      Release(std::exchange(handle_, nullptr));
    }
  }

 private:
  Handle handle_ = nullptr;
};

// A kernel handle; INVALID_HANDLE_VALUE, which some functions return for a failure, owns nothing.
class UniqueHandle : public UniqueResource<HANDLE, CloseHandle> {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : UniqueResource(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
};

// A loaded library.
using UniqueModule = UniqueResource<HMODULE, FreeLibrary>;

}  // namespace orvex
