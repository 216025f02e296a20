#include "app/program_command.h"

#include <gtest/gtest.h>

#include <set>

namespace orvex {
namespace {

TEST(SplitProgramCommand, TheConfiguredTextMeansTheProgramItNames) {
  // The files that exist, one of them planted where a shorter reading of a path would find it.
  const std::set<std::string, std::less<>> files = {"C:\\Program.exe", "C:\\Program Files\\App\\app.exe",
                                                    "C:\\Tools\\calc"};
  const auto isFile = [&](std::string_view path) { return files.contains(path); };
  const struct {
    const char* text;
    ProgramCommand command;
  } cases[] = {
      {"C:\\Program Files\\App\\app.exe /x 1", {"C:\\Program Files\\App\\app.exe", "/x 1"}},
      {"C:\\Program Files\\App\\app /x", {"C:\\Program Files\\App\\app.exe", "/x"}},
      {"\"C:\\Program Files\\App\\app.exe\"  /x", {"C:\\Program Files\\App\\app.exe", "/x"}},
      {"\"C:\\Program\" Files", {"C:\\Program", "Files"}},
      {"C:\\Tools\\calc", {"C:\\Tools\\calc", ""}},
      {"notepad.exe C:\\a b.txt", {"notepad.exe", "C:\\a b.txt"}},
      {"  no-such-program.exe  ", {"no-such-program.exe", ""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitProgramCommand(c.text, isFile), c.command) << c.text;
  }
  EXPECT_EQ(CommandLineOf({"C:\\Program Files\\App\\app.exe", "/x"}), "\"C:\\Program Files\\App\\app.exe\" /x");
  EXPECT_EQ(CommandLineOf({"notepad.exe", ""}), "\"notepad.exe\"");
}

}  // namespace
}  // namespace orvex
