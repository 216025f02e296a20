#include "reader/abi_reader_library.h"

#include <algorithm>
#include <vector>

#include "base/text_codec.h"

namespace orvex {
namespace {

// One 8-bit text buffer handed to the library: zero-filled, at least the program's usual capacity
// and one byte more than the capacity the library is told, so the text always ends in a NUL.
class TextBuffer {
 public:
  explicit TextBuffer(int32_t capacity, const std::string& initialUtf8 = {})
      : bytes_(static_cast<size_t>(std::max(capacity, kReaderBufferCapacity)) + 1, '\0') {
    const std::string initial = Utf8ToWindows1255(initialUtf8);
    std::copy_n(initial.begin(), std::min(initial.size(), bytes_.size() - 1), bytes_.begin());
  }

  char* Data() { return bytes_.data(); }
  // What the library wrote, up to the first NUL, as UTF-8: a value or the option text.
  std::string Text() const { return Windows1255ToUtf8(bytes_.data()); }
  // A whole reply, up to its last character that is not a NUL, with the NULs inside it: the trace
  // shows them, and the values are read from the text before the first one.
  std::string Reply() const {
    const auto last = std::find_if(bytes_.rbegin(), bytes_.rend(), [](char byte) { return byte != '\0'; });
    return Windows1255ToUtf8(std::string_view(bytes_.data(), static_cast<size_t>(bytes_.rend() - last)));
  }

 private:
  std::vector<char> bytes_;
};

// An input text as the library takes it.
class LibraryText {
 public:
  explicit LibraryText(const std::string& utf8) : text_(Utf8ToWindows1255(utf8)) {}
  const char* Get() const { return text_.c_str(); }

 private:
  std::string text_;
};

}  // namespace

int32_t AbiReaderLibrary::MTMICRSetTimeout(int32_t timeout) {
  return functions_.setTimeout(timeout);
}

int32_t AbiReaderLibrary::MTMICROpenDevice(const std::string& deviceName) {
  return functions_.openDevice(LibraryText(deviceName).Get());
}

int32_t AbiReaderLibrary::MTMICRCloseDevice(const std::string& deviceName) {
  return functions_.closeDevice(LibraryText(deviceName).Get());
}

int32_t AbiReaderLibrary::MTMICRQueryInfo(const std::string& deviceName, const std::string& query, std::string& reply,
                                          int32_t& capacity) {
  TextBuffer buffer(capacity);
  const int32_t status =
      functions_.queryInfo(LibraryText(deviceName).Get(), LibraryText(query).Get(), buffer.Data(), &capacity);
  reply = buffer.Reply();
  return status;
}

int32_t AbiReaderLibrary::MTMICRSetValue(std::string& options, const std::string& section, const std::string& key,
                                         const std::string& value, int32_t& capacity) {
  TextBuffer buffer(capacity, options);
  const int32_t status = functions_.setValue(buffer.Data(), LibraryText(section).Get(), LibraryText(key).Get(),
                                             LibraryText(value).Get(), &capacity);
  options = buffer.Text();
  return status;
}

int32_t AbiReaderLibrary::MTMICRSetIndexValue(std::string& options, const std::string& section, const std::string& key,
                                              int32_t index, const std::string& value, int32_t& capacity) {
  TextBuffer buffer(capacity, options);
  const int32_t status = functions_.setIndexValue(buffer.Data(), LibraryText(section).Get(), LibraryText(key).Get(),
                                                  index, LibraryText(value).Get(), &capacity);
  options = buffer.Text();
  return status;
}

int32_t AbiReaderLibrary::MTMICRProcessCheck(const std::string& deviceName, const std::string& options,
                                             std::string& reply, int32_t& capacity) {
  TextBuffer optionBuffer(kReaderBufferCapacity, options);
  TextBuffer replyBuffer(capacity);
  const int32_t status =
      functions_.processCheck(LibraryText(deviceName).Get(), optionBuffer.Data(), replyBuffer.Data(), &capacity);
  reply = replyBuffer.Reply();
  return status;
}

int32_t AbiReaderLibrary::MTMICRGetValue(const std::string& reply, const std::string& section, const std::string& key,
                                         std::string& value, int32_t& capacity) {
  TextBuffer buffer(capacity);
  const int32_t status = functions_.getValue(LibraryText(reply).Get(), LibraryText(section).Get(),
                                             LibraryText(key).Get(), buffer.Data(), &capacity);
  value = buffer.Text();
  return status;
}

int32_t AbiReaderLibrary::MTMICRGetIndexValue(const std::string& reply, const std::string& section,
                                              const std::string& key, int32_t index, std::string& value,
                                              int32_t& capacity) {
  TextBuffer buffer(capacity);
  const int32_t status = functions_.getIndexValue(LibraryText(reply).Get(), LibraryText(section).Get(),
                                                  LibraryText(key).Get(), index, buffer.Data(), &capacity);
  value = buffer.Text();
  return status;
}

int32_t AbiReaderLibrary::MTMICRGetImage(const std::string& deviceName, const std::string& imageAddress,
                                         std::string& bytes, int32_t& byteCount) {
  const int32_t size = std::max(byteCount, 0);
  byteCount = size;  // the library is never told of more room than the buffer has
  // Never a null buffer, even for no bytes: not every library checks.
  std::vector<unsigned char> buffer(static_cast<size_t>(std::max(size, 1)));
  const int32_t status =
      functions_.getImage(LibraryText(deviceName).Get(), LibraryText(imageAddress).Get(), buffer.data(), &byteCount);
  const size_t delivered = static_cast<size_t>(std::clamp(byteCount, 0, size));
  bytes.assign(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(delivered));
  return status;
}

}  // namespace orvex
