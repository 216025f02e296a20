#pragma once

// The reader library as the program uses it, passing every call through and handing the reply of
// each document read to the details window, which shows the last raw reader reply.

#include <functional>
#include <string>

#include "reader/reader_library.h"

namespace orvex {

class ReplyShowingLibrary final : public ReaderLibrary {
 public:
  ReplyShowingLibrary(ReaderLibrary& library, std::function<void(const std::string&)> showReply)
      : library_(library), showReply_(std::move(showReply)) {}

  int32_t MTMICRSetTimeout(int32_t timeout) override { return library_.MTMICRSetTimeout(timeout); }
  int32_t MTMICROpenDevice(const std::string& deviceName) override { return library_.MTMICROpenDevice(deviceName); }
  int32_t MTMICRCloseDevice(const std::string& deviceName) override { return library_.MTMICRCloseDevice(deviceName); }
  int32_t MTMICRQueryInfo(const std::string& deviceName, const std::string& query, std::string& reply,
                          int32_t& capacity) override {
    return library_.MTMICRQueryInfo(deviceName, query, reply, capacity);
  }
  int32_t MTMICRSetValue(std::string& options, const std::string& section, const std::string& key,
                         const std::string& value, int32_t& capacity) override {
    return library_.MTMICRSetValue(options, section, key, value, capacity);
  }
  int32_t MTMICRSetIndexValue(std::string& options, const std::string& section, const std::string& key, int32_t index,
                              const std::string& value, int32_t& capacity) override {
    return library_.MTMICRSetIndexValue(options, section, key, index, value, capacity);
  }
  // The reply of a read, whatever its return code, goes to the details window.
  int32_t MTMICRProcessCheck(const std::string& deviceName, const std::string& options, std::string& reply,
                             int32_t& capacity) override;
  int32_t MTMICRGetValue(const std::string& reply, const std::string& section, const std::string& key,
                         std::string& value, int32_t& capacity) override {
    return library_.MTMICRGetValue(reply, section, key, value, capacity);
  }
  int32_t MTMICRGetIndexValue(const std::string& reply, const std::string& section, const std::string& key,
                              int32_t index, std::string& value, int32_t& capacity) override {
    return library_.MTMICRGetIndexValue(reply, section, key, index, value, capacity);
  }
  int32_t MTMICRGetImage(const std::string& deviceName, const std::string& imageAddress, std::string& bytes,
                         int32_t& byteCount) override {
    return library_.MTMICRGetImage(deviceName, imageAddress, bytes, byteCount);
  }

 private:
  ReaderLibrary& library_;
  std::function<void(const std::string&)> showReply_;
};

}  // namespace orvex
