// The cheque log while another program holds it open without sharing writes, as a spreadsheet
// program does: no line is lost and none is written twice.

#include <windows.h>

#include <gtest/gtest.h>

#include "base/handle_win32.h"
#include "base/wide_win32.h"
#include "support/processing_harness.h"

namespace orvex {
namespace {

TEST(ChequeLogShare, LinesOfALogHeldWithoutWriteSharingGoInOnceInOrderAfterItsRelease) {
  test_support::ProcessingHarness h(
      "[Main]\nCSVFile=<folder>log.csv\nChequeTemplate=x\nChequeNumStart=-13\n"
      "ChequeNumLength=13\n");
  const std::string log = h.folder.File("log.csv");
  std::string held;
  {
    const UniqueHandle spreadsheet(CreateFileW(ToWide(log).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(spreadsheet);
    held = h.ProcessNumberedCheques(1, 3);
    EXPECT_EQ(h.delivery.typed.size(), 3u);
    EXPECT_EQ(h.boxes.Shown().size(), 1u);
    EXPECT_EQ(ReadFileBytes(log), "");
  }
  const std::string next = h.ProcessNumberedCheques(4, 4);
  EXPECT_EQ(ReadFileBytes(log), held + next);
  EXPECT_EQ(GetFileAttributesW(ToWide(log + ".pending").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace orvex
