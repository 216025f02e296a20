#pragma once
// Joins the front and back images of a cheque into one picture in a separate process, so the next
// document can be read meanwhile. The joiner always writes to one plain temporary name; the read
// moves the result to the cheque's image name once the joiner said it succeeded, so no character
// of an image name ever reaches the command interpreter.
#include <chrono>
#include <string_view>
namespace orvex {

// What netpbm\CombinePics.bat is given to write, relative to the program's data folder.
inline constexpr std::string_view kTemporaryJoined = "netpbm\\tmp-joined.jpg";
// How long a read waits for the join started last before it would write the temporary images.
inline constexpr std::chrono::milliseconds kJoinWaitBound{10000};

class ImageJoin {
 public:
  enum class Outcome { kNone, kRunning, kSucceeded, kFailed };

  virtual ~ImageJoin() = default;
  // Starts "netpbm\CombinePics.bat netpbm\tmp-joined.jpg" through the command interpreter named by
  // COMSPEC, in a hidden window, without waiting; false when it cannot be started.
  virtual bool Start() = 0;
  // The join started last: kRunning while it still runs after waiting up to `bound`; once it has
  // ended, how (exit status 0 is success), and kNone from then on until the next start.
  virtual Outcome Wait(std::chrono::milliseconds bound) = 0;
};

}  // namespace orvex
