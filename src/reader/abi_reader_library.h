#pragma once

// The reader library's interface over the library's C calls: the program's UTF-8 texts become the
// library's Windows-1255 texts and back, and every buffer handed to the library is fresh,
// zero-filled and larger than the capacity the library is told, so what it writes always ends in
// a NUL and never runs past the buffer.

#include <string>

#include "reader/mtxmlmcr_abi.h"
#include "reader/reader_library.h"

namespace orvex {

class AbiReaderLibrary : public ReaderLibrary {
 public:
  // Every function must be set.
  explicit AbiReaderLibrary(const MtxmlmcrFunctions& functions) : functions_(functions) {}

  int32_t MTMICRSetTimeout(int32_t timeout) override;
  int32_t MTMICROpenDevice(const std::string& deviceName) override;
  int32_t MTMICRCloseDevice(const std::string& deviceName) override;
  int32_t MTMICRQueryInfo(const std::string& deviceName, const std::string& query, std::string& reply,
                          int32_t& capacity) override;
  int32_t MTMICRSetValue(std::string& options, const std::string& section, const std::string& key,
                         const std::string& value, int32_t& capacity) override;
  int32_t MTMICRSetIndexValue(std::string& options, const std::string& section, const std::string& key, int32_t index,
                              const std::string& value, int32_t& capacity) override;
  int32_t MTMICRProcessCheck(const std::string& deviceName, const std::string& options, std::string& reply,
                             int32_t& capacity) override;
  int32_t MTMICRGetValue(const std::string& reply, const std::string& section, const std::string& key,
                         std::string& value, int32_t& capacity) override;
  int32_t MTMICRGetIndexValue(const std::string& reply, const std::string& section, const std::string& key,
                              int32_t index, std::string& value, int32_t& capacity) override;
  int32_t MTMICRGetImage(const std::string& deviceName, const std::string& imageAddress, std::string& bytes,
                         int32_t& byteCount) override;

 private:
  MtxmlmcrFunctions functions_;
};

// Status of every call of a library that could not be loaded.
inline constexpr int32_t kReaderLibraryUnavailable = -1;

// Stands in for a library that could not be loaded: the open fails, so the program shows that the
// device cannot be opened (or, with "/NOCHK", goes on without a reader); every other call fails
// with empty outputs.
class UnavailableReaderLibrary : public ReaderLibrary {
 public:
  int32_t MTMICRSetTimeout(int32_t) override { return kReaderLibraryUnavailable; }
  int32_t MTMICROpenDevice(const std::string&) override { return kReaderLibraryUnavailable; }
  int32_t MTMICRCloseDevice(const std::string&) override { return kReaderLibraryUnavailable; }
  int32_t MTMICRQueryInfo(const std::string&, const std::string&, std::string& reply, int32_t&) override {
    return Fail(reply);
  }
  int32_t MTMICRSetValue(std::string&, const std::string&, const std::string&, const std::string&, int32_t&) override {
    return kReaderLibraryUnavailable;
  }
  int32_t MTMICRSetIndexValue(std::string&, const std::string&, const std::string&, int32_t, const std::string&,
                              int32_t&) override {
    return kReaderLibraryUnavailable;
  }
  int32_t MTMICRProcessCheck(const std::string&, const std::string&, std::string& reply, int32_t&) override {
    return Fail(reply);
  }
  int32_t MTMICRGetValue(const std::string&, const std::string&, const std::string&, std::string& value,
                         int32_t&) override {
    return Fail(value);
  }
  int32_t MTMICRGetIndexValue(const std::string&, const std::string&, const std::string&, int32_t, std::string& value,
                              int32_t&) override {
    return Fail(value);
  }
  int32_t MTMICRGetImage(const std::string&, const std::string&, std::string& bytes, int32_t& byteCount) override {
    byteCount = 0;
    return Fail(bytes);
  }

 private:
  static int32_t Fail(std::string& output) {
    output.clear();
    return kReaderLibraryUnavailable;
  }
};

}  // namespace orvex
