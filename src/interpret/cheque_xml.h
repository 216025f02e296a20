#pragma once

// The small XML file that describes a cheque beside its images.

#include <string>
#include <string_view>

namespace orvex {

// The cut fields the file holds.
struct ChequeXmlFields {
  std::string chequeNum;
  std::string bankNum;
  std::string branchNum;
  std::string accountNum;
};

// The six lines of the file, each ended by CR LF; "&", "<" and ">" of a value as their entities,
// so the file stays well-formed.
std::string ChequeXmlText(const ChequeXmlFields& fields);

// The file's name from the front image name: cut right after the "." of its last ".jpg" and
// followed by "xml" (0326\1234_5.jpg gives 0326\1234_5.xml). A name without ".jpg" has its last
// extension replaced by ".xml", or ".xml" appended when it has none, so that no cheque writes a
// bare "xml" file that the next one overwrites.
std::string ChequeXmlFileName(std::string_view frontName);

}  // namespace orvex
