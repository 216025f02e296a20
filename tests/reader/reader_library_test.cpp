#include "reader/reader_library.h"

#include <gtest/gtest.h>

#include "support/fake_reader_library.h"

namespace orvex {
namespace {

TEST(GetExcellaMachineType, ReadsTheMachineTypeOfTheCapabilitiesReply) {
  const struct {
    std::string reply;
    std::string machineType;
  } cases[] = {
      {"DeviceCapabilities/MachineType=Excella\n", "Excella"},
      {"DeviceCapabilities/MachineType=MDX 2 \n", "MDX 2"},
      {std::string("DeviceCapabilities/MachineType=Excel\0la  \n", 42), "Excella"},
      {"DeviceStatus/MachineType=Excella\n", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    test_support::FakeReaderLibrary reader;
    reader.queryReplies["DeviceCapabilities"] = c.reply;
    EXPECT_EQ(GetExcellaMachineType(reader, "EXCELLA_USB"), c.machineType) << c.reply;
    EXPECT_EQ(reader.calls.front(), "MTMICRQueryInfo(EXCELLA_USB,DeviceCapabilities,4096)");
  }
}

}  // namespace
}  // namespace orvex
