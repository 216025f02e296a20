#pragma once

// The calls of the reader vendor's XML MICR library (mtxmlmcr). The program reaches the reader only
// through this interface: the Win32 shell binds it to the library loaded at run time, tests script it.
//
// Every call returns the library's 32-bit status, 0 for success. Texts are the program's UTF-8; the
// binding converts them to and from the library's 8-bit texts. An output value or option text
// receives what the library wrote into the caller's buffer, up to the buffer's first NUL; a reply
// (`MTMICRQueryInfo`, `MTMICRProcessCheck`) receives it up to its last character that is not a NUL,
// NULs inside it kept, so that the trace shows the whole reply. `capacity` is the size of that
// buffer, passed by reference as the library expects.

#include <cstdint>
#include <string>

namespace orvex {

// Capacity of every reply and value buffer the program hands to the library.
inline constexpr int32_t kReaderBufferCapacity = 4096;
// Time-out set before the first open, in milliseconds.
inline constexpr int32_t kReaderLibraryTimeout = 5000;

class ReaderLibrary {
 public:
  virtual ~ReaderLibrary() = default;

  // Result ignored by the callers.
  virtual int32_t MTMICRSetTimeout(int32_t timeout) = 0;
  // 0 = the device is open.
  virtual int32_t MTMICROpenDevice(const std::string& deviceName) = 0;
  // Result ignored by the callers.
  virtual int32_t MTMICRCloseDevice(const std::string& deviceName) = 0;
  // query: "DeviceStatus", "DeviceCapabilities" or "DeviceUsage".
  virtual int32_t MTMICRQueryInfo(const std::string& deviceName, const std::string& query, std::string& reply,
                                  int32_t& capacity) = 0;
  // Adds section/key = value to the option text.
  virtual int32_t MTMICRSetValue(std::string& options, const std::string& section, const std::string& key,
                                 const std::string& value, int32_t& capacity) = 0;
  virtual int32_t MTMICRSetIndexValue(std::string& options, const std::string& section, const std::string& key,
                                      int32_t index, const std::string& value, int32_t& capacity) = 0;
  // Feeds and reads one document; 0 = the read is done and reply holds the document reply.
  virtual int32_t MTMICRProcessCheck(const std::string& deviceName, const std::string& options, std::string& reply,
                                     int32_t& capacity) = 0;
  // Reads section/key from a reply text.
  virtual int32_t MTMICRGetValue(const std::string& reply, const std::string& section, const std::string& key,
                                 std::string& value, int32_t& capacity) = 0;
  // Reads section/key at the index from a reply text; 0 is needed for the image values.
  virtual int32_t MTMICRGetIndexValue(const std::string& reply, const std::string& section, const std::string& key,
                                      int32_t index, std::string& value, int32_t& capacity) = 0;
  // Transfers the image at the address; byteCount goes in as the buffer size and comes back as the
  // number of bytes delivered. 0 = bytes delivered.
  virtual int32_t MTMICRGetImage(const std::string& deviceName, const std::string& imageAddress, std::string& bytes,
                                 int32_t& byteCount) = 0;
};

// A value of a reply without NUL characters and trailing blanks, as the program uses every value
// (the binding already ends a value at its first NUL).
std::string CleanedReplyValue(std::string value);

// The reader's machine type ("Excella", or beginning "MDX"): the "DeviceCapabilities" query's
// "DeviceCapabilities"/"MachineType" value without NUL characters and trailing blanks; empty when
// nothing could be read.
std::string GetExcellaMachineType(ReaderLibrary& library, const std::string& deviceName);

}  // namespace orvex
