#pragma once

#include <windows.h>

namespace orvex {

// Shares the calling thread's input state with another thread for as long as it lives: the
// foreground thread's key state becomes readable, and the system lets this thread set the
// foreground window. Attaching to the own thread (or to none) is not done and not needed.
class AttachedThreadInput {
 public:
  explicit AttachedThreadInput(DWORD otherThread)
      : ownThread_(GetCurrentThreadId()),
        otherThread_(otherThread),
        attached_(otherThread != 0 && otherThread != ownThread_ && AttachThreadInput(ownThread_, otherThread, TRUE)) {}
  ~AttachedThreadInput() {
    if (attached_) {
      AttachThreadInput(ownThread_, otherThread_, FALSE);
    }
  }
  AttachedThreadInput(const AttachedThreadInput&) = delete;
  AttachedThreadInput& operator=(const AttachedThreadInput&) = delete;

  bool Attached() const { return attached_; }
  bool IsOwnThread() const { return otherThread_ == ownThread_; }

 private:
  DWORD ownThread_;
  DWORD otherThread_;
  bool attached_;
};

}  // namespace orvex
