#pragma once

// The web client of the Windows program: WinINet, synchronous, never from or into the cache.

#include <windows.h>

#include "verify/web_client.h"

namespace orvex {

class WinInetWebClient final : public WebClient {
 public:
  // Throws Error with WinINet's number and text when the request fails; a status other than 2xx
  // fails too.
  std::string Fetch(const std::string& url) override;
  // Below one second counts as one second.
  void SetRequestTimeout(int32_t seconds) override;

 private:
  DWORD timeoutMilliseconds_ = 60 * 1000;
};

}  // namespace orvex
