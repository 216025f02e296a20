#include "virtual_documents.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "base/text.h"
#include "base/text_codec.h"
#include "tagged_text.h"

namespace orvex::virtual_reader {
namespace {

struct FeederName {
  Feeder feeder;
  std::string_view statusKey;     // key of the feeder in the status reply and value in a document file
  std::string_view docFeed;       // the read's "DocFeed" option for it
  std::string_view responseType;  // what the document reply says was read
};
constexpr FeederName kFeeders[] = {
    {Feeder::kManual, "ManualFeeder", "MANUAL", "CHECK"},
    {Feeder::kId, "IDFeeder", "ID", "ID"},
    {Feeder::kAuto, "AutoFeeder", "AUTOFEED", "CHECK"},
    {Feeder::kMsr, "MSR", "MSR", "MSR"},
};

const FeederName& NameOf(Feeder feeder) {
  return *std::ranges::find(kFeeders, feeder, &FeederName::feeder);
}

using IniValues = std::vector<std::pair<std::string, std::string>>;

// The key lines of one section of an INI text; comments start with ";" or "#".
IniValues SectionValues(std::string_view text, std::string_view section) {
  if (text.starts_with(kUtf8Bom)) {
    text.remove_prefix(kUtf8Bom.size());
  }
  IniValues values;
  bool inSection = false;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
    }
    const std::string_view content = TrimBlanks(line);
    if (content.empty() || content.front() == ';' || content.front() == '#') {
      continue;
    }
    if (content.front() == '[' && content.back() == ']') {
      inSection = EqualsIgnoringAsciiCase(content.substr(1, content.size() - 2), section);
    } else if (const size_t equals = content.find('='); inSection && equals != std::string_view::npos) {
      values.emplace_back(TrimBlanks(content.substr(0, equals)), TrimBlanks(content.substr(equals + 1)));
    }
  }
  return values;
}

std::optional<std::string> Lookup(const IniValues& values, std::string_view key) {
  const auto found = std::ranges::find_if(values, [&](const auto& v) { return EqualsIgnoringAsciiCase(v.first, key); });
  if (found == values.end()) {
    return std::nullopt;
  }
  return found->second;
}

// The decimal number at the start of the text, or nothing when it does not start with one.
std::optional<int32_t> LeadingNumber(std::string_view text) {
  int32_t number = 0;
  const char* first = text.data();
  if (!text.empty() && text.front() == '+') {
    ++first;
  }
  if (std::from_chars(first, text.data() + text.size(), number).ec != std::errc()) {
    return std::nullopt;
  }
  return number;
}

int32_t LeadingNumber(std::string_view text, int32_t defaultValue) {
  return LeadingNumber(text).value_or(defaultValue);
}

std::optional<int32_t> Number(const IniValues& values, std::string_view key) {
  const std::optional<std::string> text = Lookup(values, key);
  return text ? LeadingNumber(*text) : std::nullopt;
}

int32_t NumberOr(const IniValues& values, std::string_view key, int32_t defaultValue) {
  return Number(values, key).value_or(defaultValue);
}

std::string TextOr(const IniValues& values, std::string_view key, std::string defaultValue) {
  return Lookup(values, key).value_or(std::move(defaultValue));
}

// A feeder named in a document file; any other name counts as the manual feeder.
Feeder FeederNamed(std::string_view name) {
  const auto found =
      std::ranges::find_if(kFeeders, [&](const FeederName& f) { return EqualsIgnoringAsciiCase(f.statusKey, name); });
  return found == std::end(kFeeders) ? Feeder::kManual : found->feeder;
}

std::string Library(std::string_view utf8) {
  return Utf8ToWindows1255(utf8);
}

constexpr int32_t kDefaultDotsPerInch = 200;
constexpr int32_t kMinDotsPerInch = 50;
constexpr int32_t kMaxDotsPerInch = 300;
constexpr int32_t kMaxFeedTimeoutMs = 60000;
constexpr int32_t kMaxImages = 9;

// Cards in hundredths of an inch: a cheque, and an ID card.
constexpr int32_t kChequeWidth = 600, kChequeHeight = 275;
constexpr int32_t kIdCardWidth = 337, kIdCardHeight = 213;

}  // namespace

DeviceSettings ParseDeviceSettings(std::string_view iniText) {
  const IniValues values = SectionValues(iniText, "Device");
  DeviceSettings device;
  device.machineType = TextOr(values, "MachineType", device.machineType);
  device.openResult = NumberOr(values, "OpenResult", device.openResult);
  device.ink = TextOr(values, "Ink", device.ink);
  device.frontInk = TextOr(values, "FrontInk", device.frontInk);
  return device;
}

VirtualDocument ParseDocument(std::string fileName, std::string_view iniText) {
  const IniValues values = SectionValues(iniText, "Document");
  VirtualDocument document;
  document.fileName = std::move(fileName);
  document.feeder = FeederNamed(TextOr(values, "Feeder", "ManualFeeder"));
  document.micr = TextOr(values, "MICR", "");
  for (int track = 0; track < 3; ++track) {
    document.tracks[track] = TextOr(values, "Track" + std::to_string(track + 1), "");
  }
  document.returnCode = NumberOr(values, "ReturnCode", 0);
  document.status = NumberOr(values, "Status", 0);
  document.front = TextOr(values, "Front", "");
  document.back = TextOr(values, "Back", "");
  document.imageFailures = std::max(NumberOr(values, "ImageFailures", 0), 0);
  document.readMs = std::max(NumberOr(values, "ReadMs", 0), 0);
  document.imageSize = Number(values, "ImageSize");
  document.imageMs = std::max(NumberOr(values, "ImageMs", 0), 0);
  document.replyValues =
      EqualsIgnoringAsciiCase(TextOr(values, "ReplyValues", "ALL"), "NONE") ? ReplyValues::kNone : ReplyValues::kAll;
  return document;
}

std::optional<size_t> ChooseDocument(const std::vector<VirtualDocument>& waiting, std::string_view docFeed) {
  for (size_t i = 0; i < waiting.size(); ++i) {
    if (docFeed == "ALL" || NameOf(waiting[i].feeder).docFeed == docFeed) {
      return i;
    }
  }
  return std::nullopt;
}

std::string StatusReply(const DeviceSettings& device, const VirtualDocument* firstWaiting) {
  TaggedText reply;
  for (const FeederName& feeder : kFeeders) {
    const bool present = firstWaiting && firstWaiting->feeder == feeder.feeder;
    SetTaggedValue(reply, "DeviceStatus", feeder.statusKey, std::nullopt, present ? "DOCPRESENT" : "EMPTY");
  }
  if (device.machineType.starts_with("MDX")) {
    const Feeder waiting = firstWaiting ? firstWaiting->feeder : Feeder::kAuto;
    const std::string_view state =
        waiting == Feeder::kManual ? "CHECKREADY" : (waiting == Feeder::kMsr ? "MSRREADY" : "IDLE");
    SetTaggedValue(reply, "DeviceStatus", "State", std::nullopt, state);
  }
  SetTaggedValue(reply, "DeviceStatus", "Ink", std::nullopt, Library(device.ink));
  SetTaggedValue(reply, "DeviceStatus", "FrontInk", std::nullopt, Library(device.frontInk));
  SetTaggedValue(reply, "DeviceCapabilities", "MachineType", std::nullopt, Library(device.machineType));
  return FormatTaggedText(reply, "\r\n");
}

std::string CapabilitiesReply(const DeviceSettings& device) {
  TaggedText reply;
  SetTaggedValue(reply, "DeviceCapabilities", "MachineType", std::nullopt, Library(device.machineType));
  std::string feeders;
  for (const FeederName& feeder : kFeeders) {
    feeders += (feeders.empty() ? "" : ",") + std::string(feeder.statusKey);
  }
  SetTaggedValue(reply, "DeviceCapabilities", "Feeders", std::nullopt, feeders);
  return FormatTaggedText(reply, "\r\n");
}

std::string UsageReply(size_t documentsRead) {
  TaggedText reply;
  SetTaggedValue(reply, "DeviceUsage", "DocumentsRead", std::nullopt, std::to_string(documentsRead));
  return FormatTaggedText(reply, "\r\n");
}

ReadRequest ParseReadRequest(std::string_view optionText) {
  const TaggedText options = ParseTaggedText(optionText);
  const auto option = [&](std::string_view section, std::string_view key, std::optional<int32_t> index = {}) {
    return GetTaggedValue(options, section, key, index).value_or("");
  };
  ReadRequest request;
  request.docFeed = option("ProcessOptions", "DocFeed");
  request.feedTimeoutMs =
      std::clamp(LeadingNumber(option("ProcessOptions", "DocFeedTimeout"), 0), 0, kMaxFeedTimeoutMs);
  const int32_t number = std::clamp(LeadingNumber(option("ImageOptions", "Number"), 0), 0, kMaxImages);
  for (int32_t index = 1; index <= number; ++index) {
    const std::string side = option("ImageOptions", "ImageSide", index);
    request.images.push_back(ImageRequest{
        .index = index,
        .back = side.empty() ? index == 2 : side == "BACK",
        .grey = option("ImageOptions", "ImageColor", index).starts_with("GRAY"),
        .dotsPerInch = std::clamp(LeadingNumber(option("ImageOptions", "Resolution", index), kDefaultDotsPerInch),
                                  kMinDotsPerInch, kMaxDotsPerInch)});
  }
  return request;
}

std::string DocumentReply(const VirtualDocument& document, const std::vector<ImageEntry>& images) {
  TaggedText reply;
  SetTaggedValue(reply, "CommandStatus", "ReturnCode", std::nullopt, std::to_string(document.returnCode));
  if (document.replyValues == ReplyValues::kNone) {
    return FormatTaggedText(reply, "\r\n");
  }
  SetTaggedValue(reply, "DocInfo", "ResponseType", std::nullopt, NameOf(document.feeder).responseType);
  SetTaggedValue(reply, "DocInfo", "MICRRaw", std::nullopt, Library(document.micr));
  for (int track = 0; track < 3; ++track) {
    SetTaggedValue(reply, "MSRInfo", "TrackData" + std::to_string(track + 1), std::nullopt,
                   Library(document.tracks[track]));
  }
  SetTaggedValue(reply, "ImageInfo", "Number", std::nullopt, std::to_string(images.size()));
  for (size_t i = 0; i < images.size(); ++i) {
    const auto index = static_cast<int32_t>(i + 1);
    const std::string size = document.imageSize ? std::to_string(*document.imageSize) : std::to_string(images[i].size);
    SetTaggedValue(reply, "ImageInfo", "ImageSize", index, size);
    SetTaggedValue(reply, "ImageInfo", "ImageURL", index, images[i].address);
  }
  return FormatTaggedText(reply, "\r\n");
}

std::string NoDocumentReply() {
  TaggedText reply;
  SetTaggedValue(reply, "CommandStatus", "ReturnCode", std::nullopt, std::to_string(kNoDocumentReturnCode));
  SetTaggedValue(reply, "DocInfo", "ResponseType", std::nullopt, "NONE");
  return FormatTaggedText(reply, "\r\n");
}

CardPicture DescribeCard(const VirtualDocument& document, const ImageRequest& request) {
  const bool idCard = document.feeder == Feeder::kId;
  CardPicture card;
  card.width = (idCard ? kIdCardWidth : kChequeWidth) * request.dotsPerInch / 100;
  card.height = (idCard ? kIdCardHeight : kChequeHeight) * request.dotsPerInch / 100;
  card.grey = request.grey;
  card.lines.push_back(std::string(request.back ? "BACK" : "FRONT") + " - " + document.fileName);
  if (!document.micr.empty()) {
    card.lines.push_back(document.micr);
  }
  for (const std::string& track : document.tracks) {
    if (!track.empty()) {
      card.lines.push_back(track);
    }
  }
  return card;
}

std::string CallLogLine(std::string_view function, std::string_view deviceName, std::string_view optionText) {
  std::string line = std::string(function) + "\t" + std::string(deviceName);
  if (!optionText.empty()) {
    line += "\t" + std::string(optionText);
  }
  std::ranges::replace_if(
      line, [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return line + "\r\n";
}

}  // namespace orvex::virtual_reader
