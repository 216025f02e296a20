#include "reader/abi_reader_library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "base/text_codec.h"

namespace orvex {
namespace {

// What the scripted library's calls received, and what they write.
struct Script {
  std::string received;  // the 8-bit texts of the last call, joined by "|"
  std::string written;   // what an output call writes, NUL included when wanted
  int32_t fillToCapacity = 0;
  std::string image;
  int32_t reportedByteCount = 0;
};
Script script;

void Write(char* buffer, const int32_t* capacity) {
  if (script.fillToCapacity) {
    std::fill_n(buffer, *capacity, 'x');  // no room left for a NUL
  } else {
    std::memcpy(buffer, script.written.data(), script.written.size());
  }
}

int32_t MTXMLMCR_CALL SetTimeout(int32_t timeout) {
  return timeout;
}
int32_t MTXMLMCR_CALL Open(const char* device) {
  script.received = device;
  return 0;
}
int32_t MTXMLMCR_CALL Query(const char* device, const char* query, char* reply, int32_t* capacity) {
  script.received = std::string(device) + "|" + query;
  Write(reply, capacity);
  return 0;
}
int32_t MTXMLMCR_CALL Set(char* options, const char* section, const char* key, const char* value, int32_t*) {
  std::strcat(options, (std::string(section) + "/" + key + "=" + value + ";").c_str());
  script.received = value;
  return 0;
}
int32_t MTXMLMCR_CALL SetIndex(char* options, const char* section, const char* key, int32_t index, const char* value,
                               int32_t* capacity) {
  return Set(options, section, (std::string(key) + std::to_string(index)).c_str(), value, capacity);
}
int32_t MTXMLMCR_CALL Process(const char* device, const char* options, char* reply, int32_t* capacity) {
  script.received = std::string(device) + "|" + options;
  Write(reply, capacity);
  return 4;
}
int32_t MTXMLMCR_CALL Get(const char* reply, const char* section, const char* key, char* value, int32_t* capacity) {
  script.received = std::string(reply) + "|" + section + "|" + key;
  Write(value, capacity);
  return 0;
}
int32_t MTXMLMCR_CALL GetIndex(const char* reply, const char* section, const char* key, int32_t, char* value,
                               int32_t* capacity) {
  return Get(reply, section, key, value, capacity);
}
int32_t MTXMLMCR_CALL Image(const char*, const char* address, unsigned char* buffer, int32_t* byteCount) {
  script.received = address;
  std::memcpy(buffer, script.image.data(), std::min<size_t>(script.image.size(), static_cast<size_t>(*byteCount)));
  *byteCount = script.reportedByteCount;
  return 0;
}

class AbiReaderLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { script = Script{}; }

  AbiReaderLibrary library{MtxmlmcrFunctions{.setTimeout = SetTimeout,
                                             .openDevice = Open,
                                             .closeDevice = Open,
                                             .queryInfo = Query,
                                             .setValue = Set,
                                             .setIndexValue = SetIndex,
                                             .processCheck = Process,
                                             .getValue = Get,
                                             .getIndexValue = GetIndex,
                                             .getImage = Image}};
  int32_t capacity = kReaderBufferCapacity;
};

TEST_F(AbiReaderLibraryTest, TextsCrossAsWindows1255AndComeBackAsUtf8) {
  std::string options;
  library.MTMICRSetValue(options, "Endorser", "PrintData", "שולם", capacity);
  EXPECT_EQ(script.received, Utf8ToWindows1255("שולם"));
  library.MTMICRSetIndexValue(options, "ImageOptions", "ImageSide", 2, "BACK", capacity);
  EXPECT_EQ(options, "Endorser/PrintData=שולם;ImageOptions/ImageSide2=BACK;") << "the option text grows call by call";

  std::string reply;
  library.MTMICRProcessCheck("ImageSafe.ImageSafe001", options, reply, capacity);
  EXPECT_EQ(script.received, Utf8ToWindows1255("ImageSafe.ImageSafe001|" + options));
}

TEST_F(AbiReaderLibraryTest, AValueEndsAtTheFirstNulAndAReplyAtItsLastCharacterThatIsNotANul) {
  script.written = Utf8ToWindows1255("Excella ישן") + std::string("\0left\0over\0\0", 13);
  const std::string whole = "Excella ישן" + std::string("\0left\0over", 10);
  std::string value;
  library.MTMICRGetValue("<reply>", "DeviceCapabilities", "MachineType", value, capacity);
  EXPECT_EQ(value, "Excella ישן");
  EXPECT_EQ(script.received, "<reply>|DeviceCapabilities|MachineType");

  std::string reply;
  library.MTMICRQueryInfo("D", "DeviceStatus", reply, capacity);
  EXPECT_EQ(reply, whole);
  library.MTMICRProcessCheck("D", "", reply, capacity);
  EXPECT_EQ(reply, whole);
  library.MTMICRGetValue(reply, "DocInfo", "MICRRaw", value, capacity);
  EXPECT_EQ(script.received, Utf8ToWindows1255("Excella ישן|DocInfo|MICRRaw")) << "the library reads up to the NUL";
}

TEST_F(AbiReaderLibraryTest, ALibraryThatFillsTheWholeCapacityDoesNotRunPastTheBuffer) {
  script.fillToCapacity = 1;
  const int32_t capacities[] = {1, 100, kReaderBufferCapacity, kReaderBufferCapacity * 2};
  for (int32_t size : capacities) {
    std::string reply;
    int32_t given = size;
    EXPECT_EQ(library.MTMICRProcessCheck("D", "", reply, given), 4) << "the library's status";
    EXPECT_EQ(reply, std::string(static_cast<size_t>(size), 'x'));
    given = size;
    library.MTMICRQueryInfo("D", "DeviceStatus", reply, given);
    EXPECT_EQ(reply.size(), static_cast<size_t>(size));
  }
}

TEST_F(AbiReaderLibraryTest, AnImageIsTheBytesDeliveredWithinTheBuffer) {
  const struct {
    int32_t byteCount;
    int32_t reported;
    size_t expected;
  } cases[] = {
      {5, 5, 5},   // all delivered
      {5, 3, 3},   // fewer delivered than asked
      {5, 99, 5},  // a count beyond the buffer is not believed
      {0, 5, 0},  {-1, 5, 0},
  };
  script.image = "\xFF\xD8\xFF\xE0!";
  for (const auto& c : cases) {
    script.reportedByteCount = c.reported;
    std::string bytes = "earlier";
    int32_t byteCount = c.byteCount;
    library.MTMICRGetImage("D", "virtual://1", bytes, byteCount);
    EXPECT_EQ(bytes, script.image.substr(0, c.expected)) << c.byteCount << " " << c.reported;
    EXPECT_EQ(byteCount, c.reported);
  }
}

TEST(UnavailableReaderLibrary, NothingOpensAndEveryOutputIsEmpty) {
  UnavailableReaderLibrary library;
  int32_t capacity = kReaderBufferCapacity;
  std::string text = "earlier";
  EXPECT_NE(library.MTMICROpenDevice("EXCELLA_USB"), 0);
  EXPECT_NE(library.MTMICRProcessCheck("EXCELLA_USB", "", text, capacity), 0);
  EXPECT_EQ(text, "");
  EXPECT_EQ(GetExcellaMachineType(library, "EXCELLA_USB"), "");
}

}  // namespace
}  // namespace orvex
