#pragma once

// A scripted reader library. Replies are texts of "Section/Key=value" lines, and the value calls
// read them from the reply they are given. Every call is recorded as "Name(arguments)".

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "reader/reader_library.h"

namespace orvex::test_support {

class FakeReaderLibrary : public ReaderLibrary {
 public:
  int32_t MTMICRSetTimeout(int32_t timeout) override {
    Record("MTMICRSetTimeout(" + std::to_string(timeout) + ")");
    return 0;
  }
  int32_t MTMICROpenDevice(const std::string& deviceName) override {
    Record("MTMICROpenDevice(" + deviceName + ")");
    return openResult;
  }
  int32_t MTMICRCloseDevice(const std::string& deviceName) override {
    Record("MTMICRCloseDevice(" + deviceName + ")");
    return 0;
  }
  int32_t MTMICRQueryInfo(const std::string& deviceName, const std::string& query, std::string& reply,
                          int32_t& capacity) override {
    Record("MTMICRQueryInfo(" + deviceName + "," + query + "," + std::to_string(capacity) + ")");
    reply = queryReplies[query];
    return 0;
  }
  int32_t MTMICRSetValue(std::string& options, const std::string& section, const std::string& key,
                         const std::string& value, int32_t& capacity) override {
    Record("MTMICRSetValue(" + section + "," + key + "," + value + "," + std::to_string(capacity) + ")");
    options += section + "/" + key + "=" + value + "\n";
    return 0;
  }
  int32_t MTMICRSetIndexValue(std::string& options, const std::string& section, const std::string& key, int32_t index,
                              const std::string& value, int32_t& capacity) override {
    return MTMICRSetValue(options, section, key + "#" + std::to_string(index), value, capacity);
  }
  int32_t MTMICRProcessCheck(const std::string& deviceName, const std::string& options, std::string& reply,
                             int32_t& capacity) override {
    Record("MTMICRProcessCheck(" + deviceName + "," + std::to_string(capacity) + ")");
    lastOptions = options;
    if (duringRead) {
      duringRead();
    }
    reply = documentReply;
    return processResult;
  }
  int32_t MTMICRGetValue(const std::string& reply, const std::string& section, const std::string& key,
                         std::string& value, int32_t& capacity) override {
    Record("MTMICRGetValue(" + section + "," + key + "," + std::to_string(capacity) + ")");
    value = ValueIn(reply, section + "/" + key);
    return 0;
  }
  int32_t MTMICRGetIndexValue(const std::string& reply, const std::string& section, const std::string& key,
                              int32_t index, std::string& value, int32_t& capacity) override {
    return MTMICRGetValue(reply, section, key + "#" + std::to_string(index), value, capacity);
  }
  int32_t MTMICRGetImage(const std::string& deviceName, const std::string& imageAddress, std::string& bytes,
                         int32_t& byteCount) override {
    Record("MTMICRGetImage(" + deviceName + "," + imageAddress + ")");
    const auto image = images.find(imageAddress);
    if (image == images.end() || failingImageCalls-- > 0) {
      return 1;
    }
    bytes = image->second;
    byteCount = static_cast<int32_t>(bytes.size());
    return 0;
  }

  int32_t openResult = 0;
  int32_t processResult = 0;
  std::map<std::string, std::string> queryReplies;  // by query name
  std::string documentReply;
  std::map<std::string, std::string> images;  // by image address
  int32_t failingImageCalls = 0;              // the first image transfers that fail
  std::function<void()> duringRead;           // runs inside MTMICRProcessCheck
  std::string lastOptions;
  std::vector<std::string> calls;

 private:
  void Record(std::string call) { calls.push_back(std::move(call)); }

  static std::string ValueIn(const std::string& reply, const std::string& name) {
    const std::string prefix = name + "=";
    size_t lineStart = 0;
    while (lineStart < reply.size()) {
      const size_t lineEnd = std::min(reply.find('\n', lineStart), reply.size());
      if (reply.compare(lineStart, prefix.size(), prefix) == 0) {
        return reply.substr(lineStart + prefix.size(), lineEnd - lineStart - prefix.size());
      }
      lineStart = lineEnd + 1;
    }
    return "";
  }
};

}  // namespace orvex::test_support
