#pragma once
// Joins the front and back images of a cheque into one picture in a separate process, so the next
// document can be read meanwhile.
#include <string>
namespace orvex {
class ImageJoin {
 public:
  virtual ~ImageJoin() = default;
  // Starts "netpbm\CombinePics.bat" with the target name through the command interpreter named by
  // COMSPEC (" /c netpbm\CombinePics.bat " + quoted name), in a hidden window, without waiting;
  // false when it cannot be started.
  virtual bool Start(const std::string& targetName) = 0;
  // Before a read writes any netpbm\tmp-*.jpg: waits, up to a bound, for the join started last to
  // end; a trace line says so when the bound passes.
  virtual void WaitForPrevious() = 0;
};
}  // namespace orvex
