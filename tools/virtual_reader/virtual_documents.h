#pragma once

// The virtual reader's rules, apart from files and images: what device.ini and a document file
// say, which waiting document a read takes, and the replies it gives. Texts from the files are
// UTF-8 (a byte-order mark is allowed); replies are in the library's Windows-1255.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvex::virtual_reader {

// The device as device.ini describes it.
struct DeviceSettings {
  std::string machineType = "Excella";
  int32_t openResult = 0;  // non-zero: the open fails with this status
  std::string ink = "OK";
  std::string frontInk = "OK";
};

enum class Feeder { kManual, kId, kAuto, kMsr };

// What a successful document reply holds besides its return code: every value, or none.
enum class ReplyValues { kAll, kNone };

// One document waiting in the inbox, as its file describes it.
struct VirtualDocument {
  std::string fileName;  // the file's name inside the inbox
  Feeder feeder = Feeder::kManual;
  std::string micr;
  std::string tracks[3];
  int32_t returnCode = 0;  // "CommandStatus"/"ReturnCode" of the reply
  int32_t status = 0;      // result of the read call
  std::string front;       // image files, relative to the document file; empty: drawn by the reader
  std::string back;
  int32_t imageFailures = 0;         // image transfers that fail before images are delivered
  int32_t readMs = 0;                // how long the read takes
  std::optional<int32_t> imageSize;  // the size the reply claims for every image; nothing: the real one
  int32_t imageMs = 0;               // how long each image transfer waits before it answers
  ReplyValues replyValues = ReplyValues::kAll;
};

DeviceSettings ParseDeviceSettings(std::string_view iniText);
VirtualDocument ParseDocument(std::string fileName, std::string_view iniText);

// The index of the first document (in the given order) whose feeder fits the read's "DocFeed"
// option; "ALL" fits any.
std::optional<size_t> ChooseDocument(const std::vector<VirtualDocument>& waiting, std::string_view docFeed);

// The replies of the three queries. firstWaiting is the first document of the inbox, if any.
std::string StatusReply(const DeviceSettings& device, const VirtualDocument* firstWaiting);
std::string CapabilitiesReply(const DeviceSettings& device);
std::string UsageReply(size_t documentsRead);

// What a read asks for: its feeder, how long to wait for a document, and its images.
struct ImageRequest {
  int32_t index = 1;
  bool back = false;
  bool grey = false;
  int32_t dotsPerInch = 200;
};
struct ReadRequest {
  std::string docFeed;
  int32_t feedTimeoutMs = 0;
  std::vector<ImageRequest> images;
};
ReadRequest ParseReadRequest(std::string_view optionText);

// One image as the reply announces it.
struct ImageEntry {
  size_t size = 0;  // the real size; the document may claim another
  std::string address;
};
// "ReturnCode" when no document came within the feed time-out.
inline constexpr int32_t kNoDocumentReturnCode = 6;

// The reply of a read: the document's values and its images, each with the size the document
// claims for it, else its real one; only the return code for a document whose reply holds no values.
std::string DocumentReply(const VirtualDocument& document, const std::vector<ImageEntry>& images);
std::string NoDocumentReply();

// A card image the reader draws when the document names no image file: a white card of the
// document's size at the requested resolution, with the side and the document's name, then its
// MICR line or tracks (UTF-8), in black, or grey for a grey image.
struct CardPicture {
  int32_t width = 0;
  int32_t height = 0;
  bool grey = false;
  std::vector<std::string> lines;
};
CardPicture DescribeCard(const VirtualDocument& document, const ImageRequest& request);

// One line of calls.log: the call, the device name and, for a read, the option text or, for a query,
// the query, tab-separated.
std::string CallLogLine(std::string_view function, std::string_view deviceName, std::string_view optionText = {});

}  // namespace orvex::virtual_reader
