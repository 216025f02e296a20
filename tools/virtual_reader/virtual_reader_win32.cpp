// The virtual reader's ten calls: a reader library (mtxmlmcr.dll) that reads documents from files
// instead of a device, so the program runs its real reader code with no reader attached.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "card_image_win32.h"
#include "reader/mtxmlmcr_abi.h"
#include "reader_folder_win32.h"
#include "tagged_text.h"
#include "virtual_documents.h"
#include "wic_image_win32.h"

namespace orvex::virtual_reader {
namespace {

// The statuses of the virtual reader's calls.
constexpr int32_t kOk = 0;
constexpr int32_t kBadArgument = 1;
constexpr int32_t kBufferTooSmall = 2;
constexpr int32_t kUnknownQuery = 3;
constexpr int32_t kNoSuchImage = 4;
constexpr int32_t kImageTransferFailed = 5;
constexpr int32_t kMissingValue = 6;
constexpr int32_t kInternalFault = 7;

constexpr auto kInboxPollInterval = std::chrono::milliseconds(50);

// The images of the last document read, by address, the transfers still to fail, and how long
// each transfer waits.
struct ReadImages {
  std::map<std::string, std::string> bytesByAddress;
  int32_t failuresLeft = 0;
  int32_t transferMs = 0;
};

std::mutex stateMutex;
ReadImages lastRead;
unsigned readCount = 0;

// Writes the text and its NUL into a caller's buffer of the given capacity.
int32_t WriteText(const std::string& text, char* buffer, int32_t* capacity) {
  if (!buffer || !capacity) {
    return kBadArgument;
  }
  if (text.size() + 1 > static_cast<size_t>(std::max(*capacity, 0))) {
    if (*capacity > 0) {
      buffer[0] = '\0';
    }
    *capacity = static_cast<int32_t>(text.size() + 1);
    return kBufferTooSmall;
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return kOk;
}

std::string Text(const char* text) {
  return text ? text : "";
}

// A call's work, with no exception leaving the library: the caller is C code.
template <typename Work>
int32_t Guarded(Work work) {
  try {
    return work();
  } catch (...) {
    return kInternalFault;
  }
}

void LogCall(const char* function, const char* deviceName, const char* optionText = nullptr) {
  ReaderFolder::Current().LogCall(CallLogLine(function, Text(deviceName), Text(optionText)));
}

std::optional<VirtualDocument> WaitForDocument(const ReaderFolder& folder, const ReadRequest& request) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(request.feedTimeoutMs);
  for (;;) {
    std::vector<VirtualDocument> waiting = folder.Waiting();
    if (const std::optional<size_t> chosen = ChooseDocument(waiting, request.docFeed)) {
      return waiting[*chosen];
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      return std::nullopt;
    }
    Sleep(static_cast<DWORD>(kInboxPollInterval.count()));
  }
}

std::string ImageBytes(const ReaderFolder& folder, const VirtualDocument& document, const ImageRequest& request) {
  const std::string& file = request.back ? document.back : document.front;
  if (!file.empty()) {
    return folder.ImageFile(file).value_or("");
  }
  const images::ComInitialization com;
  return DrawCardJpeg(DescribeCard(document, request)).value_or("");
}

// Makes the document's images, keeps them for the transfers, and lists them for the reply.
std::vector<ImageEntry> KeepImages(const ReaderFolder& folder, const VirtualDocument& document,
                                   const ReadRequest& request) {
  ReadImages images{.bytesByAddress = {}, .failuresLeft = document.imageFailures, .transferMs = document.imageMs};
  std::vector<ImageEntry> entries;
  const std::lock_guard lock(stateMutex);
  ++readCount;
  for (const ImageRequest& image : request.images) {
    const std::string address = "virtual://read" + std::to_string(readCount) + "/image" + std::to_string(image.index);
    std::string bytes = ImageBytes(folder, document, image);
    entries.push_back(ImageEntry{.size = bytes.size(), .address = address});
    images.bytesByAddress[address] = std::move(bytes);
  }
  lastRead = std::move(images);
  return entries;
}

// A transfer of the last document's images waits as long as the document says, before it answers.
void WaitAsTheImagesTransfer() {
  int32_t transferMs = 0;
  {
    const std::lock_guard lock(stateMutex);
    transferMs = lastRead.transferMs;
  }
  Sleep(static_cast<DWORD>(transferMs));
}

// The reply of a query, or nothing for a query the reader does not know.
std::optional<std::string> QueryReply(const ReaderFolder& folder, const std::string& query) {
  if (query == "DeviceStatus") {
    const std::vector<VirtualDocument> waiting = folder.Waiting();
    return StatusReply(folder.Device(), waiting.empty() ? nullptr : &waiting.front());
  }
  if (query == "DeviceCapabilities") {
    return CapabilitiesReply(folder.Device());
  }
  if (query == "DeviceUsage") {
    return UsageReply(folder.ReadCount());
  }
  return std::nullopt;
}

// The option text of a caller's buffer, up to its NUL or its capacity.
std::string OptionText(const char* options, const int32_t* capacity) {
  return std::string(options, strnlen(options, static_cast<size_t>(std::max(*capacity, 0))));
}

int32_t SetOption(char* options, const char* section, const char* key, std::optional<int32_t> index, const char* value,
                  int32_t* capacity) {
  if (!options || !capacity) {
    return kBadArgument;
  }
  TaggedText text = ParseTaggedText(OptionText(options, capacity));
  SetTaggedValue(text, Text(section), Text(key), index, Text(value));
  return WriteText(FormatTaggedText(text), options, capacity);
}

int32_t GetReplyValue(const char* reply, const char* section, const char* key, std::optional<int32_t> index,
                      char* value, int32_t* capacity) {
  const std::optional<std::string> found =
      GetTaggedValue(ParseTaggedText(Text(reply)), Text(section), Text(key), index);
  const int32_t written = WriteText(found.value_or(""), value, capacity);
  return written == kOk && !found ? kMissingValue : written;
}

}  // namespace
}  // namespace orvex::virtual_reader

using namespace orvex::virtual_reader;

extern "C" {

int32_t MTXMLMCR_CALL MTMICRSetTimeout(int32_t) {
  return Guarded([&] {
    LogCall("MTMICRSetTimeout", nullptr);
    return kOk;
  });
}

int32_t MTXMLMCR_CALL MTMICROpenDevice(const char* deviceName) {
  return Guarded([&] {
    LogCall("MTMICROpenDevice", deviceName);
    return ReaderFolder::Current().Device().openResult;
  });
}

int32_t MTXMLMCR_CALL MTMICRCloseDevice(const char* deviceName) {
  return Guarded([&] {
    LogCall("MTMICRCloseDevice", deviceName);
    return kOk;
  });
}

int32_t MTXMLMCR_CALL MTMICRQueryInfo(const char* deviceName, const char* query, char* reply, int32_t* capacity) {
  return Guarded([&] {
    LogCall("MTMICRQueryInfo", deviceName, query);
    const std::optional<std::string> text = QueryReply(ReaderFolder::Current(), Text(query));
    const int32_t written = WriteText(text.value_or(""), reply, capacity);
    return written == kOk && !text ? kUnknownQuery : written;
  });
}

int32_t MTXMLMCR_CALL MTMICRSetValue(char* options, const char* section, const char* key, const char* value,
                                     int32_t* capacity) {
  return Guarded([&] {
    LogCall("MTMICRSetValue", nullptr);
    return SetOption(options, section, key, std::nullopt, value, capacity);
  });
}

int32_t MTXMLMCR_CALL MTMICRSetIndexValue(char* options, const char* section, const char* key, int32_t index,
                                          const char* value, int32_t* capacity) {
  return Guarded([&] {
    LogCall("MTMICRSetIndexValue", nullptr);
    return SetOption(options, section, key, index, value, capacity);
  });
}

int32_t MTXMLMCR_CALL MTMICRProcessCheck(const char* deviceName, const char* options, char* reply, int32_t* capacity) {
  return Guarded([&] {
    LogCall("MTMICRProcessCheck", deviceName, options);
    const ReaderFolder& folder = ReaderFolder::Current();
    const ReadRequest request = ParseReadRequest(Text(options));
    const std::optional<VirtualDocument> document = WaitForDocument(folder, request);
    if (!document) {
      return WriteText(NoDocumentReply(), reply, capacity);
    }
    Sleep(static_cast<DWORD>(document->readMs));
    const std::vector<ImageEntry> images = KeepImages(folder, *document, request);
    folder.MarkRead(*document);
    const int32_t written = WriteText(DocumentReply(*document, images), reply, capacity);
    return written == kOk ? document->status : written;
  });
}

int32_t MTXMLMCR_CALL MTMICRGetValue(const char* reply, const char* section, const char* key, char* value,
                                     int32_t* capacity) {
  return Guarded([&] {
    LogCall("MTMICRGetValue", nullptr);
    return GetReplyValue(reply, section, key, std::nullopt, value, capacity);
  });
}

int32_t MTXMLMCR_CALL MTMICRGetIndexValue(const char* reply, const char* section, const char* key, int32_t index,
                                          char* value, int32_t* capacity) {
  return Guarded([&] {
    LogCall("MTMICRGetIndexValue", nullptr);
    return GetReplyValue(reply, section, key, index, value, capacity);
  });
}

int32_t MTXMLMCR_CALL MTMICRGetImage(const char* deviceName, const char* imageAddress, unsigned char* buffer,
                                     int32_t* byteCount) {
  return Guarded([&] {
    LogCall("MTMICRGetImage", deviceName);
    if (!byteCount) {
      return kBadArgument;
    }
    WaitAsTheImagesTransfer();
    const std::lock_guard lock(stateMutex);
    const auto image = lastRead.bytesByAddress.find(Text(imageAddress));
    if (image == lastRead.bytesByAddress.end()) {
      return kNoSuchImage;
    }
    if (lastRead.failuresLeft > 0) {
      --lastRead.failuresLeft;
      return kImageTransferFailed;
    }
    // The image's first bytes as far as the buffer goes, whatever size the reply claimed.
    const std::string& bytes = image->second;
    const size_t room = buffer ? static_cast<size_t>(std::max(*byteCount, 0)) : 0;
    if (room > 0) {
      std::memcpy(buffer, bytes.data(), std::min(room, bytes.size()));
    }
    *byteCount = static_cast<int32_t>(bytes.size());
    return buffer && room >= bytes.size() ? kOk : kBufferTooSmall;
  });
}

}  // extern "C"
