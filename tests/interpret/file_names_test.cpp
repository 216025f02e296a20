#include "interpret/file_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "support/name_units.h"
#include "support/scripted_prompt.h"

namespace orvex {
namespace {

namespace fs = std::filesystem;

TEST(FileNameValue, ReplacesWhatNoFileNameMayHold) {
  const struct {
    std::string value;
    const char* document;  // a cheque field, the amount or the MICR text
    const char* operatorAnswer;
  } cases[] = {
      // what Windows forbids, control characters included
      {"12:30", "12_30", "12_30"},
      {"*><|\"", "_____", "_____"},
      {"a\tb\x01" "c\x1f", "a_b_c_", "a_b_c_"},
      {std::string("a\0b", 3), "a_b", "a_b"},
      // "?" from the reader is an unread character, which the saved name shows as "#"
      {"12?4", "12?4", "12_4"},
      // what stays
      {"%DATE%", "%DATE%", "%DATE%"},
      {"שם קובץ {DD}", "שם קובץ {DD}", "שם קובץ {DD}"},
      {"a.b c", "a.b c", "a.b c"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileNameValue(c.value, NameValue::kDocument), c.document) << c.value;
    EXPECT_EQ(FileNameValue(c.value, NameValue::kOperator), c.operatorAnswer) << c.value;
  }
}

TEST(FileNameValue, OnlyTheOperatorNamesSubfoldersAndNeitherLeavesTheTemplatesFolder) {
  const struct {
    const char* value;
    const char* document;
    const char* operatorAnswer;
  } cases[] = {
      {"sub\\name", "sub_name", "sub\\name"},
      {"sub/name", "sub_name", "sub/name"},
      {"..", "__", "__"},
      {".", "_", "_"},
      {"..\\..\\x", ".._.._x", "__\\__\\x"},
      {"a\\...\\b", "a_..._b", "a\\___\\b"},
      {"\\Windows\\x", "_Windows_x", "_Windows\\x"},
      {"\\\\server\\share", "__server_share", "_\\server\\share"},
      {"a..b\\.c", "a..b_.c", "a..b\\.c"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileNameValue(c.value, NameValue::kDocument), c.document) << c.value;
    EXPECT_EQ(FileNameValue(c.value, NameValue::kOperator), c.operatorAnswer) << c.value;
  }
}

TEST(SanitizeUserFileName, CleansTheAnswerAndMarksACancel) {
  EXPECT_EQ(SanitizeUserFileName("a:b?c"), "a_b_c");
  EXPECT_EQ(SanitizeUserFileName("sub\\name"), "sub\\name");
  EXPECT_EQ(SanitizeUserFileName(""), "<<DONTSAVE>>");
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    path_ = fs::temp_directory_path() / ("orvex_folders_" + std::to_string(random()));
    fs::create_directory(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder as the configuration writes paths: UTF-8, backslashes.
  std::string Backslashed(std::string_view relative = "") const {
    std::string text = reinterpret_cast<const char*>(path_.u8string().c_str());
    for (char& c : text) {
      if (c == '/') {
        c = '\\';
      }
    }
    return relative.empty() ? text : text + "\\" + std::string(relative);
  }
  fs::path Path(std::string_view relative) const {
    return path_ / fs::path(std::u8string(relative.begin(), relative.end()));
  }

 private:
  fs::path path_;
};

TEST(CreateFolderPath, CreatesEveryMissingFolderOfABackslashedPath) {
  const TempFolder temp;
  CreateFolderPath(temp.Backslashed("x\\y\\z\\"));
  EXPECT_TRUE(fs::is_directory(temp.Path("x/y/z")));

  // Again: nothing changes, nothing is reported.
  CreateFolderPath(temp.Backslashed("x\\y\\z\\"));
  CreateFolderPath(temp.Backslashed("x\\y\\z"));
  EXPECT_TRUE(fs::is_directory(temp.Path("x/y/z")));
}

TEST(CreateFolderPath, FollowsOperatorTypedSlashesAndHebrewNames) {
  const TempFolder temp;
  CreateFolderPath(temp.Backslashed("0326\\לקוח/תיק\\a"));
  EXPECT_TRUE(fs::is_directory(temp.Path("0326/לקוח/תיק/a")));
}

TEST(CreateFolderPath, SwallowsEveryFailure) {
  const TempFolder temp;
  { std::ofstream file(temp.Path("file")); }
  CreateFolderPath(temp.Backslashed("file\\below"));
  EXPECT_FALSE(fs::exists(temp.Path("file/below")));
  CreateFolderPath("");
  CreateFolderPath("\\");
  CreateFolderPath(temp.Backslashed(std::string(5000, 'x')));
}

TEST(CreateFolderForFile, CreatesTheFolderPartOfAFileNameOnly) {
  const TempFolder temp;
  CreateFolderForFile(temp.Backslashed("0326\\1234_5.jpg"));
  EXPECT_TRUE(fs::is_directory(temp.Path("0326")));
  EXPECT_FALSE(fs::exists(temp.Path("0326/1234_5.jpg")));

  const fs::path cwdName = "orvex_no_folder_for_this.jpg";
  CreateFolderForFile(cwdName.string());
  EXPECT_FALSE(fs::exists(cwdName));
}

using test_support::ScriptedPrompt;

TEST(UserFileNameFiller, AsksOncePerDocumentAndCleansTheAnswer) {
  ScriptedPrompt prompt({"a:b", "never asked"});
  UserFileNameFiller filler(prompt);
  EXPECT_EQ(filler.Fill("0326\\{User}_{User}.jpg", ImageSide::kFront), "0326\\a_b_a_b.jpg");
  EXPECT_EQ(filler.Fill("0326\\{User}-back.jpg", ImageSide::kBack), "0326\\a_b-back.jpg");
  EXPECT_EQ(prompt.asked, std::vector<std::string>{"בחר שם קובץ לתמונה"});
}

TEST(UserFileNameFiller, AsksForTheBackWhenTheFrontDidNotAsk) {
  ScriptedPrompt prompt({"back"});
  UserFileNameFiller filler(prompt);
  EXPECT_EQ(filler.Fill("front.jpg", ImageSide::kFront), "front.jpg");
  EXPECT_EQ(filler.Fill("{User}.jpg", ImageSide::kBack), "back.jpg");
  EXPECT_EQ(prompt.asked, std::vector<std::string>{"בחר שם קובץ לתמונה אחורית"});
}

TEST(UserFileNameFiller, ACancelledFrontPromptIsTheAnswerForTheBackToo) {
  ScriptedPrompt prompt({"", "never asked"});
  UserFileNameFiller filler(prompt);
  EXPECT_EQ(filler.Fill("{User}.jpg", ImageSide::kFront), "<<DONTSAVE>>.jpg");
  EXPECT_EQ(filler.Fill("{User}-back.jpg", ImageSide::kBack), "<<DONTSAVE>>-back.jpg");
  EXPECT_EQ(prompt.asked, std::vector<std::string>{"בחר שם קובץ לתמונה"});
  EXPECT_EQ(prompt.titles, std::vector<std::string>{"קורא צ'קים"});
}

TEST(UserFileNameFiller, AsksAgainWhileTheAnswerMakesANameLongerThanWindowsTakes) {
  const std::string front = "בחר שם קובץ לתמונה";
  const std::string frontAgain = "השם ארוך מדי. בחר שם קובץ לתמונה";
  const std::string backAgain = "השם ארוך מדי. בחר שם קובץ לתמונה אחורית";
  const std::string tooLong(300, 'x');
  // The longest answer with which "{User}.jpg" still fits, in the current folder.
  const std::string longest(std::min(kMaxPathUnits - test_support::FolderUnits(), kMaxNameComponentUnits) - 4, 'y');
  const std::string longTemplate = std::string(300, 't') + "{User}.jpg";
  const struct {
    const char* name;
    std::string frontTemplate, backTemplate;
    std::deque<std::string> answers;
    std::string frontName, backName;
    std::vector<std::string> asked;
  } cases[] = {
      {"too long, then short", "{User}.jpg", "{User}-back.jpg", {tooLong, "short"}, "short.jpg", "short-back.jpg",
       {front, frontAgain}},
      {"too long, then cancelled", "{User}.jpg", "{User}-back.jpg", {tooLong, ""}, "<<DONTSAVE>>.jpg",
       "<<DONTSAVE>>-back.jpg", {front, frontAgain}},
      {"the longest that fits", "{User}.jpg", "", {longest}, longest + ".jpg", "", {front}},
      {"fits the front, not the back", "{User}.jpg", "{User}-back.jpg", {longest, "b"}, longest + ".jpg",
       "b-back.jpg", {front, backAgain}},
      {"too long by the template alone: no answer helps", longTemplate, "", {"a"}, std::string(300, 't') + "a.jpg",
       "", {front}},
  };
  for (const auto& c : cases) {
    ScriptedPrompt prompt(c.answers);
    UserFileNameFiller filler(prompt);
    EXPECT_EQ(filler.Fill(c.frontTemplate, ImageSide::kFront), c.frontName) << c.name;
    if (!c.backTemplate.empty()) {
      EXPECT_EQ(filler.Fill(c.backTemplate, ImageSide::kBack), c.backName) << c.name;
    }
    EXPECT_EQ(prompt.asked, c.asked) << c.name;
  }
}

TEST(UserFileNameFiller, EveryNameComesOutPlain) {
  ScriptedPrompt prompt({"con"});
  UserFileNameFiller filler(prompt);
  EXPECT_EQ(filler.Fill("aux\\{User}.jpg", ImageSide::kFront), "aux_\\con_.jpg");
  EXPECT_EQ(filler.Fill("scans.\\x.jpg", ImageSide::kBack), "scans._\\x.jpg");
}

}  // namespace
}  // namespace orvex
