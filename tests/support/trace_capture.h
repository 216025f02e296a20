#pragma once

// Collects the trace lines written while it lives.

#include <algorithm>
#include <string>
#include <vector>

#include "base/trace.h"

namespace orvex::test_support {

class TraceCapture {
 public:
  TraceCapture() {
    previous_ = SetTraceSink([this](std::string_view line) { lines_.emplace_back(line); });
  }
  ~TraceCapture() { SetTraceSink(std::move(previous_)); }
  TraceCapture(const TraceCapture&) = delete;
  TraceCapture& operator=(const TraceCapture&) = delete;

  const std::vector<std::string>& Lines() const { return lines_; }

  // The messages, without time stamp and line end.
  std::vector<std::string> Messages() const {
    std::vector<std::string> messages;
    const size_t stampLength = TraceTimeStamp().size() + 1;
    for (const auto& line : lines_) {
      messages.push_back(line.substr(stampLength, line.size() - stampLength - 2));
    }
    return messages;
  }

  bool Contains(const std::string& message) const { return Count(message) > 0; }

  int Count(const std::string& message) const {
    const std::vector<std::string> messages = Messages();
    return static_cast<int>(std::count(messages.begin(), messages.end(), message));
  }

 private:
  TraceSink previous_;
  std::vector<std::string> lines_;
};

}  // namespace orvex::test_support
