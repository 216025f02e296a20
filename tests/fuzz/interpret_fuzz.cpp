// libFuzzer target: a MICR line through classification, the cheque-line capture, the cutting of
// the captured fields and their verification. The first twelve bytes are the cutting keys
// (start, length, leading zeros); the rest is the line.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "base/error.h"
#include "base/extract_between.h"
#include "base/trace.h"
#include "interpret/cheque_line.h"
#include "interpret/classification.h"
#include "interpret/field_cutting.h"
#include "interpret/file_names.h"
#include "interpret/templates.h"
#include "verify/cheque_verify.h"

namespace {

int32_t TakeInt32(const uint8_t*& data, size_t& size) {
  int32_t value = 0;
  if (size >= sizeof value) {
    std::memcpy(&value, data, sizeof value);
    data += sizeof value;
    size -= sizeof value;
  }
  return value;
}

std::string CutLikeAProfile(const std::string& field, int32_t start, int32_t length, int32_t leadingZeros) {
  try {
    return orvex::FlipField(orvex::TrimLeadingZeros(orvex::CutField(field, start, length), leadingZeros, length),
                            (start & 1) != 0);
  } catch (const orvex::Error&) {
    return {};
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const orvex::TraceSink quiet = orvex::SetTraceSink([](std::string_view) {});
  static const orvex::BanksBranches table(
      {{12, 0, 999, 0, 2, 4, 6}, {20, 400, 599, 0, 2, 4, 4}, {22, 0, 999, 0, 0, 0, 0}});
  const int32_t start = TakeInt32(data, size);
  const int32_t length = TakeInt32(data, size);
  const int32_t leadingZeros = TakeInt32(data, size);
  const std::string_view line(reinterpret_cast<const char*>(data), size);

  const orvex::DocumentType type = orvex::ClassifyDocument(line, leadingZeros);
  if (type < orvex::dtUnidentified || type > orvex::dtUSCheque) {
    __builtin_trap();
  }
  orvex::ChequeFields fields;
  try {
    fields = orvex::CaptureChequeFields(line);
  } catch (const orvex::Error&) {
    return 0;
  }
  for (const std::string* field : {&fields.chequeNum, &fields.bankNum, &fields.branchNum, &fields.accountNum}) {
    CutLikeAProfile(*field, start, length, leadingZeros);
  }
  orvex::TrimAccountToBankLength(fields.accountNum, static_cast<int16_t>(start));
  orvex::VerifyChequeNumbers(table, fields.bankNum, fields.branchNum, fields.accountNum);
  orvex::ExpandTemplate(line, {2026, 3, 5, 14, 7, 9}, fields.bankNum);
  orvex::SanitizeUserFileName(line);
  orvex::ExtractBetween(1, line, "A", "E");
  return 0;
}
