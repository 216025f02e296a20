#include <gtest/gtest.h>

#include "app/start_up.h"

namespace orvex {
namespace {

TEST(DataFolderOf, AnInstalledProgramWorksInTheFolderItsInstallerNamedAndAPortableOneBesideItself) {
  const std::string program = "C:\\Program Files\\Orvex Excella";
  const struct {
    std::optional<std::string> file;
    const char* dataFolder;
  } cases[] = {
      {std::nullopt, "C:\\Program Files\\Orvex Excella"},
      {"", "C:\\Program Files\\Orvex Excella"},
      {" \r\n", "C:\\Program Files\\Orvex Excella"},
      {"C:\\ProgramData\\Orvex Excella\r\n", "C:\\ProgramData\\Orvex Excella"},
      {"\xEF\xBB\xBF" "C:\\ProgramData\\Orvex Excella\\", "C:\\ProgramData\\Orvex Excella"},
      {"D:\\", "D:\\"},
      {"\\\\server\\share\\teller", "\\\\server\\share\\teller"},
      {"data", "C:\\Program Files\\Orvex Excella\\data"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DataFolderOf(program, c.file), c.dataFolder) << c.file.value_or("(no file)");
  }
}

}  // namespace
}  // namespace orvex
