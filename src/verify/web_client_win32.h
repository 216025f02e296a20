#pragma once

// The web client of the Windows program: WinINet, synchronous, never from or into the cache, one
// time-out for the whole of each request.

#include <chrono>

#include "base/clock.h"
#include "verify/web_client.h"

namespace orvex {

class WinInetWebClient final : public WebClient {
 public:
  // The request time-out is measured on the clock's monotonic time.
  explicit WinInetWebClient(const Clock& clock) : clock_(clock) {}

  // Throws Error with WinINet's number and text when the request fails, 12002 (time-out) once the
  // time-out has passed; a status other than 2xx fails too.
  std::string Fetch(const std::string& url) override;
  // Below one second counts as one second.
  void SetRequestTimeout(int32_t seconds) override;

 private:
  const Clock& clock_;
  std::chrono::milliseconds timeout_ = std::chrono::seconds(60);
};

}  // namespace orvex
