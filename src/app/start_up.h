#pragma once

// Start-up's own texts: the first trace line of every run and the message E2.

#include <optional>
#include <string>
#include <string_view>

#include "base/message_box.h"

namespace orvex {

// "Starting " + the program file's name without extension + " ver. " + major.minor.revision.
std::string StartingLine(std::string_view programFileName, int major, int minor, int revision);

// E2: the bank-branch table was not found. Yes and No; the answer is not used.
Message BanksBranchesMissingMessage();

// Beside an installed program: one line naming the folder of the operators' files (logs, images,
// the recovery folder, the temporary images, the shutdown semaphore). Its installer writes it into
// the program folder, which only administrators can change, so nobody else can move the files.
inline constexpr std::string_view kDataFolderFileName = "OrvexExcella.datafolder";

// The data folder cannot be the current directory (it cannot be made or entered): the operators'
// files would go wherever the program was started from.
Message DataFolderUnusableMessage(std::string_view dataFolder);

// The data folder of a program in `programFolder`, from the text of its data folder file (nothing
// when there is none): the program folder itself for a copy without one (a portable or training
// copy that keeps everything beside itself), else the named folder, a relative one taken from the
// program folder. A byte-order mark, blanks and line ends around the name do not count.
std::string DataFolderOf(std::string_view programFolder, const std::optional<std::string>& dataFolderFile);

// A path as a name from the folder: a name with a drive or a network name stands alone, any other
// is taken from the folder.
std::string PathFromFolder(std::string_view folder, std::string_view name);

}  // namespace orvex
