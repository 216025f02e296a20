#pragma once

// The cheque cutting keys of the sample configuration, for the profiles of tests and runs that cut
// cheques as a new installation does.

#include <string_view>

namespace orvex::test_support {

inline constexpr std::string_view kSampleCuttingKeys =
    "ChequeNumStart=-13\nChequeNumLength=13\nChequeNumLeadingZeros=0\n"
    "ChequeBankNumStart=1\nChequeBankNumLength=2\nChequeBankNumLeadingZeros=-1\n"
    "ChequeBranchNumStart=1\nChequeBranchNumLength=3\nChequeBranchNumLeadingZeros=-1\n"
    "ChequeBranchCodeStart=-2\nChequeBranchCodeLength=2\nChequeBranchCodeLeadingZeros=-1\n"
    "ChequeAccountNumStart=-13\nChequeAccountNumLength=13\nChequeAccountNumLeadingZeros=0\n";

}  // namespace orvex::test_support
