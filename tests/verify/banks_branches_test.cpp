#include "verify/banks_branches.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/error.h"

namespace orvex {
namespace {

TEST(BanksBranchesParse, ReadsRecordsOfSevenNumbers) {
  const struct {
    const char* text;
    std::vector<BranchRangeRecord> expected;
  } cases[] = {
      {"4,7,7,0,2,2,2\r\n", {{4, 7, 7, 0, 2, 2, 2}}},
      {"4,7,7,0,2,2,2", {{4, 7, 7, 0, 2, 2, 2}}},
      {"4,7,7,0,2,2,2\r\n12,1,999,0,2,4,6\r\n", {{4, 7, 7, 0, 2, 2, 2}, {12, 1, 999, 0, 2, 4, 6}}},
      {"4,7,7,0,2,2,2\n12,1,999,0,2,4,6\n", {{4, 7, 7, 0, 2, 2, 2}, {12, 1, 999, 0, 2, 4, 6}}},
      {"4,7,7,0,2,2,2\r12,1,999,0,2,4,6", {{4, 7, 7, 0, 2, 2, 2}, {12, 1, 999, 0, 2, 4, 6}}},
      // Line breaks separate values like commas; blanks around values and blank lines do not count.
      {"4\r\n7\r\n7\r\n0\r\n2\r\n2\r\n2\r\n", {{4, 7, 7, 0, 2, 2, 2}}},
      {"4,7,7,0\r\n2,2,2", {{4, 7, 7, 0, 2, 2, 2}}},
      {" 4 , 7,\t7 ,0,2,2,2 \r\n\r\n  \r\n", {{4, 7, 7, 0, 2, 2, 2}}},
      {"\r\n4,7,7,0,2,2,2", {{4, 7, 7, 0, 2, 2, 2}}},
      {"-32768,0,32767,-1,+2,2,2", {{-32768, 0, 32767, -1, 2, 2, 2}}},
  };
  for (const auto& c : cases) {
    const std::optional<BanksBranches> table = BanksBranches::Parse(c.text);
    ASSERT_TRUE(table.has_value()) << c.text;
    EXPECT_EQ(table->Records(), c.expected) << c.text;
  }
}

TEST(BanksBranchesParse, RejectsTablesThatCannotBeTrusted) {
  for (const char* text : {
           "",
           "\r\n\r\n",
           "4,7,7,0,2,2",                    // a record cut short
           "4,7,7,0,2,2,2\r\n12,1,999\r\n",  // the last record cut short
           "4,7,7,0,2,2,2,",                 // an empty value
           "4,7,,0,2,2,2",
           "4,7,7,0,2,2,32768",  // beyond 16 bits
           "4,7,7,0,2,2,-32769",
           "4,7,7,0,2,2,x",
           "4,7,7,0,2,2,2 2",
           "\xEF\xBB\xBF"
           "4,7,7,0,2,2,2",
       }) {
    EXPECT_FALSE(BanksBranches::Parse(text).has_value()) << text;
  }
}

TEST(BanksBranches, FindsRangesAndAcceptedRemainders) {
  const BanksBranches table({{12, 100, 199, 0, 2, 4, 6}, {12, 300, 300, 1, 1, 1, 1}, {20, 500, 599, 0, 0, 0, 0}});
  EXPECT_TRUE(table.HasBranch(12, 100));
  EXPECT_TRUE(table.HasBranch(12, 199));
  EXPECT_FALSE(table.HasBranch(12, 200));
  EXPECT_FALSE(table.HasBranch(20, 150));
  EXPECT_TRUE(table.AcceptsRemainder(12, 150, 6));
  EXPECT_FALSE(table.AcceptsRemainder(12, 150, 1));
  EXPECT_TRUE(table.AcceptsRemainder(12, 300, 1));
  EXPECT_FALSE(table.AcceptsRemainder(12, 250, 0));
}

TEST(FindBranchRange, ReturnsTheBankWhenARangeHoldsTheBranch) {
  const BanksBranches table({{12, 100, 199, 0, 2, 4, 6}, {20, 500, 599, 0, 0, 0, 0}});
  const struct {
    const char* bank;
    const char* branch;
    int16_t expected;
  } cases[] = {
      {"12", "150", 12}, {"12", "15099", 12}, {"12", "099", 0},   {"12", "99", 0}, {"20", "523", 20},
      {"20", "150", 0},  {"13", "150", 0},    {" 12", "150", 12}, {"12", "1", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindBranchRange(table, c.bank, c.branch), c.expected) << c.bank << "/" << c.branch;
  }
}

TEST(FindBranchRange, NumbersThatAreNoNumbersAreATypeMismatch) {
  const BanksBranches table({{12, 100, 199, 0, 2, 4, 6}});
  for (const auto& [bank, branch] : {std::pair{"1?", "150"}, {"", "150"}, {"12", "1?0"}, {"12", ""}, {"12", "x"}}) {
    try {
      FindBranchRange(table, bank, branch);
      ADD_FAILURE() << bank << "/" << branch;
    } catch (const Error& error) {
      EXPECT_EQ(error.Number(), kErrTypeMismatch);
    }
  }
}

TEST(LoadBanksBranches, ReadsTheShippedTableFromTheProgramFolder) {
  ASSERT_TRUE(LoadBanksBranches());
  EXPECT_EQ(LoadedBanksBranches().Records().size(), 644u);
  EXPECT_EQ(LoadedBanksBranches().Records().front(), (BranchRangeRecord{4, 7, 7, 0, 2, 2, 2}));
  EXPECT_EQ(FindBranchRange("20", "523"), 20);
}

TEST(LoadBanksBranches, FailureLeavesAnEmptyTable) {
  const std::filesystem::path broken = std::filesystem::temp_directory_path() / "orvex_broken_banks_branches.txt";
  { std::ofstream(broken, std::ios::binary) << "4,7,7,0,2,2,2\r\n12,1\r\n"; }
  ASSERT_TRUE(LoadBanksBranches());
  EXPECT_FALSE(LoadBanksBranches(reinterpret_cast<const char*>(broken.u8string().c_str())));
  EXPECT_TRUE(LoadedBanksBranches().Records().empty());

  ASSERT_TRUE(LoadBanksBranches());
  EXPECT_FALSE(LoadBanksBranches("no_such_folder\\banks_branches.txt"));
  EXPECT_TRUE(LoadedBanksBranches().Records().empty());
  std::filesystem::remove(broken);
}

}  // namespace
}  // namespace orvex
