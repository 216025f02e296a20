#pragma once

// The join of front and back through the data folder's netpbm\CombinePics.bat, run by the command
// interpreter as a separate process whose end and exit status the reads look for.

#include "base/handle_win32.h"
#include "reader/image_join.h"

namespace orvex {

class CombinePicsJoin : public ImageJoin {
 public:
  bool Start() override;
  Outcome Wait(std::chrono::milliseconds bound) override;

 private:
  UniqueHandle process_;
};

}  // namespace orvex
