#pragma once

// The join of front and back through the data folder's netpbm\CombinePics.bat, run by the command
// interpreter as a separate process whose end and exit status the reads look for.

#include <string>
#include <utility>

#include "base/handle_win32.h"
#include "reader/image_join.h"

namespace orvex {

class CombinePicsJoin : public ImageJoin {
 public:
  // `script`: netpbm\CombinePics.bat of the program folder, full path. It runs in the current
  // directory, the data folder, where the temporary images lie.
  explicit CombinePicsJoin(std::wstring script) : script_(std::move(script)) {}

  bool Start() override;
  Outcome Wait(std::chrono::milliseconds bound) override;

 private:
  std::wstring script_;
  UniqueHandle process_;
};

}  // namespace orvex
