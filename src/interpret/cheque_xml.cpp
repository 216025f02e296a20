#include "interpret/cheque_xml.h"


namespace orvex {
namespace {

std::string XmlEscaped(std::string_view value) {
  std::string escaped;
  escaped.reserve(value.size());
  for (const char c : value) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string Element(std::string_view name, std::string_view value) {
  return "    <" + std::string(name) + ">" + XmlEscaped(value) + "</" + std::string(name) + ">\r\n";
}

}  // namespace

std::string ChequeXmlText(const ChequeXmlFields& fields) {
  return "<Check>\r\n" + Element("Number", fields.chequeNum) + Element("Bank", fields.bankNum) +
         Element("Branch", fields.branchNum) + Element("Account", fields.accountNum) + "</Check>\r\n";
}

std::string ChequeXmlFileName(std::string_view frontName) {
  const size_t jpg = frontName.rfind(".jpg");
  if (jpg != std::string_view::npos) {
    return std::string(frontName.substr(0, jpg + 1)) + "xml";
  }
  const size_t fileStart = frontName.find_last_of("\\/") + 1;  // 0 when the name has no folder
  const size_t dot = frontName.rfind('.');
  const bool hasExtension = dot != std::string_view::npos && dot >= fileStart;
  return std::string(hasExtension ? frontName.substr(0, dot) : frontName) + ".xml";
}

}  // namespace orvex
