#include "reader/device_connection.h"

#include <gtest/gtest.h>

#include "support/fake_message_boxes.h"
#include "support/fake_reader_library.h"
#include "support/fake_shell.h"
#include "support/trace_capture.h"

namespace orvex {
namespace {

class DeviceConnectionTest : public ::testing::Test {
 protected:
  test_support::FakeReaderLibrary library;
  test_support::FakeShell shell;
  test_support::FakeMessageBoxes messageBoxes;
  test_support::TraceCapture trace;
  DeviceConnection connection{library, shell, messageBoxes};
};

TEST_F(DeviceConnectionTest, StartUpSetsTheTimeOutOpensAndAsksTheMachineType) {
  library.queryReplies["DeviceCapabilities"] = "DeviceCapabilities/MachineType=Excella  \n";
  EXPECT_EQ(connection.OpenAtStartUp("EXCELLA_USB", false), "Excella");
  EXPECT_EQ(library.calls, (std::vector<std::string>{
                               "MTMICRSetTimeout(5000)",
                               "MTMICROpenDevice(EXCELLA_USB)",
                               "MTMICRQueryInfo(EXCELLA_USB,DeviceCapabilities,4096)",
                               "MTMICRGetValue(DeviceCapabilities,MachineType,4096)",
                           }));
  EXPECT_TRUE(trace.Contains("Calling MTMICROpenDevice(EXCELLA_USB)"));
}

TEST_F(DeviceConnectionTest, ADeviceThatDoesNotOpenEndsTheProgramWithMessageE3) {
  library.openResult = 7;
  EXPECT_EQ(connection.OpenAtStartUp("STX.STX001", false), std::nullopt);
  ASSERT_EQ(messageBoxes.Shown().size(), 1u);
  const Message& shown = messageBoxes.Shown()[0];
  EXPECT_EQ(shown.title, kTitleReaderError);
  EXPECT_EQ(shown.text, "שגיאה:\r\nלא ניתן לפתוח את ההתקן STX.STX001");
  EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
  EXPECT_TRUE(shell.trayIconRemoved);
  EXPECT_TRUE(shell.pollingStopped);
  EXPECT_EQ(shell.endedWithUnload, true);
  EXPECT_EQ(library.calls.size(), 2u) << "the machine type is not asked";
}

TEST_F(DeviceConnectionTest, WithNoChkADeviceThatDoesNotOpenIsOnlyTraced) {
  library.openResult = 7;
  EXPECT_EQ(connection.OpenAtStartUp("STX.STX001", true), "");
  EXPECT_TRUE(messageBoxes.Shown().empty());
  EXPECT_FALSE(shell.endedWithUnload);
  EXPECT_TRUE(trace.Contains("MTMICROpenDevice(STX.STX001) returned 7"));
}

TEST_F(DeviceConnectionTest, ResetReopensAndTracesTheThreeReplies) {
  library.queryReplies = {
      {"DeviceStatus", "S"}, {"DeviceCapabilities", "DeviceCapabilities/MachineType=MDX\n"}, {"DeviceUsage", "U"}};
  EXPECT_EQ(connection.Reset("EXCELLA_USB"), "MDX");
  EXPECT_EQ(library.calls[0], "MTMICRCloseDevice(EXCELLA_USB)");
  EXPECT_EQ(library.calls[1], "MTMICROpenDevice(EXCELLA_USB)");
  for (const char* line :
       {"Calling MTMICRCloseDevice(EXCELLA_USB)", "Calling MTMICROpenDevice(EXCELLA_USB)", "Device Status:\r\nS",
        "Device Capabilities:\r\nDeviceCapabilities/MachineType=MDX\n", "Device Usage:\r\nU"}) {
    EXPECT_TRUE(trace.Contains(line)) << line;
  }
}

TEST_F(DeviceConnectionTest, AResetWhoseOpenFailsEndsTheProgram) {
  library.openResult = 1;
  EXPECT_EQ(connection.Reset("EXCELLA_USB"), std::nullopt);
  EXPECT_EQ(messageBoxes.Shown().size(), 1u);
  EXPECT_EQ(shell.endedWithUnload, true);
}

}  // namespace
}  // namespace orvex
