#pragma once

// The client that fetches the restricted-account web page: a plain GET of an address, answered with
// the body as text. Start-up asks it once whether the source answers; cheque processing asks it one
// question per cheque.

#include <cstdint>
#include <string>
#include <string_view>

namespace orvex {

class WebClient {
 public:
  virtual ~WebClient() = default;

  // The body of the answer as UTF-8 text, "" when the answer has none. Throws Error when no answer
  // came (no network, time-out, refused or bad address) or the server's status is not a success.
  virtual std::string Fetch(const std::string& url) = 0;
  // In force for every later fetch: connecting, sending and receiving may each take this long.
  virtual void SetRequestTimeout(int32_t seconds) = 0;
};

// The body's bytes as UTF-8: as they are when the content type announces UTF-8 (malformed
// sequences replaced), otherwise read as Windows-1255, the code page the source writes in.
std::string DecodeWebBody(std::string_view bytes, std::string_view contentType);

// Throws Error unless the HTTP status is a success (2xx). The error's number is the status itself,
// so a support person reads "Error #500 - ..." for a failing server.
void RequireSuccessStatus(int32_t status, std::string_view reason);

}  // namespace orvex
