#include "base/file_name_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "support/name_units.h"

namespace orvex {
namespace {

using test_support::FolderUnits;
using test_support::NameOfUnits;

TEST(PlainFileName, MendsTheComponentsWindowsWouldTakeForSomethingElse) {
  const struct {
    const char* name;
    const char* plain;
  } cases[] = {
      // device names, in any case, with any extension, anywhere in the name
      {"CON", "CON_"},
      {"con.jpg", "con_.jpg"},
      {"Aux", "Aux_"},
      {"scans\\nul.tar.gz", "scans\\nul_.tar.gz"},
      {"prn\\1234.jpg", "prn_\\1234.jpg"},
      {"COM1.jpg", "COM1_.jpg"},
      {"lpt9", "lpt9_"},
      {"Con .jpg", "Con _.jpg"},
      // names that only look like one
      {"COM0.jpg", "COM0.jpg"},
      {"COM10.jpg", "COM10.jpg"},
      {"console.jpg", "console.jpg"},
      {"x.con", "x.con"},
      // a dot or a blank at a component's end, which Windows would drop
      {"a.", "a._"},
      {"a ", "a _"},
      {"a.\\b.jpg", "a._\\b.jpg"},
      // what stays
      {"..\\scans\\.\\x.jpg", "..\\scans\\.\\x.jpg"},
      {"C:\\scans\\x.jpg", "C:\\scans\\x.jpg"},
      {"\\\\server\\share\\x.jpg", "\\\\server\\share\\x.jpg"},
      {"sub/name.jpg", "sub/name.jpg"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlainFileName(c.name), c.plain) << c.name;
  }
}

TEST(FitsWindowsNameLimits, CountsUtf16UnitsOfEachComponentAndOfTheWholePath) {
  const std::string hebrewLetter = "א";          // one unit, two bytes
  const std::string faceWithTears = "\U0001F602";  // two units (a surrogate pair), four bytes
  std::string hebrew255;
  std::string faces127;
  for (int i = 0; i < 255; ++i) {
    hebrew255 += hebrewLetter;
  }
  for (int i = 0; i < 127; ++i) {
    faces127 += faceWithTears;
  }
  const std::string root = "\\";  // from the root of the current drive, the shortest whole path
  const struct {
    const char* name;
    std::string path;
    bool fits;
  } cases[] = {
      {"255 letters", root + std::string(255, 'a'), true},
      {"256 letters", root + std::string(256, 'a'), false},
      {"255 Hebrew letters, 510 bytes", root + hebrew255, true},
      {"254 units of surrogate pairs", root + faces127, true},
      {"256 units of surrogate pairs", root + faces127 + faceWithTears, false},
      {"a whole path of 259 units", NameOfUnits(kMaxPathUnits - FolderUnits()), true},
      {"a whole path of 260 units", NameOfUnits(kMaxPathUnits + 1 - FolderUnits()), false},
      {"259 units of Hebrew, twice as many bytes", NameOfUnits(kMaxPathUnits - FolderUnits(), hebrewLetter), true},
      {"a long path back to a short one", NameOfUnits(300) + "\\..\\..\\x.jpg", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FitsWindowsNameLimits(c.path), c.fits) << c.name;
  }
}

}  // namespace
}  // namespace orvex
