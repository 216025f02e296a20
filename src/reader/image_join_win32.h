#pragma once

// The join of front and back through the program folder's netpbm\CombinePics.bat, run by the
// command interpreter as a separate process whose end the next read waits for.

#include <chrono>
#include <string>

#include "base/handle_win32.h"
#include "reader/image_join.h"

namespace orvex {

class CombinePicsJoin : public ImageJoin {
 public:
  // How long a read waits for the previous join before it writes the temporary images.
  static constexpr std::chrono::milliseconds kWaitBound{10000};

  explicit CombinePicsJoin(std::chrono::milliseconds waitBound = kWaitBound) : waitBound_(waitBound) {}

  bool Start(const std::string& targetName) override;
  void WaitForPrevious() override;

 private:
  std::chrono::milliseconds waitBound_;
  UniqueHandle process_;
};

}  // namespace orvex
