#pragma once

// The client that fetches the restricted-account web page: a plain GET of an address, answered with
// the body as text. Start-up asks it once whether the source answers; cheque processing asks it one
// question per cheque.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/clock.h"

namespace orvex {

class WebClient {
 public:
  virtual ~WebClient() = default;

  // The body of the answer as UTF-8 text, "" when the answer has none. Throws Error when no answer
  // came (no network, time-out, refused or bad address), the server's status is not a success or
  // the body is above kWebBodyLimit.
  virtual std::string Fetch(const std::string& url) = 0;
  // In force for every later fetch: the whole of it (connecting, sending, the answer's headers and
  // body) may take this long.
  virtual void SetRequestTimeout(int32_t seconds) = 0;
};

// The most body a fetch keeps. The source answers with a short page; a reply above this is no
// answer, and reading it on would only hold the user-interface thread and memory.
inline constexpr size_t kWebBodyLimit = 1'048'576;

// The body of an answer as it arrives. Its storage is set aside once, at the limit, so that it
// neither holds more than kWebBodyLimit bytes nor grows past them on the way.
class CappedWebBody {
 public:
  CappedWebBody() { bytes_.reserve(kWebBodyLimit); }

  // Throws Error, keeping what came before, when the bytes would take the body above the limit.
  void Append(std::string_view bytes);
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// The one time-out of a whole request, counted on the clock's monotonic time from the start.
class RequestDeadline {
 public:
  RequestDeadline(const Clock& clock, std::chrono::milliseconds timeout)
      : clock_(clock), end_(clock.Monotonic() + timeout) {}

  // What is left of the time-out; zero once it has passed.
  std::chrono::milliseconds Remaining() const;

 private:
  const Clock& clock_;
  std::chrono::milliseconds end_;
};

// The body's bytes as UTF-8: as they are when the content type announces UTF-8 (malformed
// sequences replaced), otherwise read as Windows-1255, the code page the source writes in.
std::string DecodeWebBody(std::string_view bytes, std::string_view contentType);

// Throws Error unless the HTTP status is a success (2xx). The error's number is the status itself,
// so a support person reads "Error #500 - ..." for a failing server.
void RequireSuccessStatus(int32_t status, std::string_view reason);

}  // namespace orvex
