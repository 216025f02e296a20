#pragma once

// One program per user session: a second start (a Start-menu click beside the autostart entry)
// brings up the first run's details window and ends, so two programs never poll one reader.

#include <windows.h>

namespace orvex {

class SingleInstance {
 public:
  SingleInstance();
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when another run of the program held the mark first.
  bool AnotherRunExists() const { return anotherRun_; }
  // Asks the other run to bring up its details window (it may take the foreground).
  void ShowOtherRunsDetails() const;

 private:
  HANDLE mutex_ = nullptr;
  bool anotherRun_ = false;
};

}  // namespace orvex
