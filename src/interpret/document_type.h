#pragma once

#include <cstdint>
#include <string_view>

namespace orvex {

// What kind of document a MICR text came from.
enum DocumentType : int32_t {
  dtUnidentified = 0,
  dtCheque = 1,
  dtMagneticCard = 2,
  dtNoMICR = 3,
  dtPostalBankCheque = 4,
  dtUSCheque = 5,
  dtNonusCheque = 6,  // kept for the details window; classification never yields it
};

// The name the details window shows for a kind; "" for US cheques and for codes outside 0 to 6.
std::string_view DocumentTypeName(DocumentType type);

}  // namespace orvex
