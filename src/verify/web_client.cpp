#include "verify/web_client.h"

#include <algorithm>

#include "base/error.h"
#include "base/text.h"
#include "base/text_codec.h"

namespace orvex {
namespace {

// The value of the "charset" parameter of a Content-Type header, without quotes; "" when absent.
std::string_view Charset(std::string_view contentType) {
  while (!contentType.empty()) {
    const size_t semicolon = contentType.find(';');
    const std::string_view parameter = TrimBlanks(contentType.substr(0, semicolon));
    const size_t equals = parameter.find('=');
    if (equals != std::string_view::npos &&
        EqualsIgnoringAsciiCase(TrimBlanks(parameter.substr(0, equals)), "charset")) {
      std::string_view value = TrimBlanks(parameter.substr(equals + 1));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
      }
      return value;
    }
    if (semicolon == std::string_view::npos) {
      break;
    }
    contentType.remove_prefix(semicolon + 1);
  }
  return {};
}

bool AnnouncesUtf8(std::string_view contentType) {
  const std::string_view charset = Charset(contentType);
  return EqualsIgnoringAsciiCase(charset, "utf-8") || EqualsIgnoringAsciiCase(charset, "utf8");
}

}  // namespace

std::string DecodeWebBody(std::string_view bytes, std::string_view contentType) {
  if (AnnouncesUtf8(contentType)) {
    return Utf16ToUtf8(Utf8ToUtf16(bytes));
  }
  return Windows1255ToUtf8(bytes);
}

void CappedWebBody::Append(std::string_view bytes) {
  if (bytes.size() > kWebBodyLimit - bytes_.size()) {
    throw Error(kErrOverflow, "The web server's reply is above 1 MB (1,048,576 bytes)");
  }
  bytes_.append(bytes);
}

std::chrono::milliseconds RequestDeadline::Remaining() const {
  return std::max(end_ - clock_.Monotonic(), std::chrono::milliseconds(0));
}

void RequireSuccessStatus(int32_t status, std::string_view reason) {
  if (status < 200 || status > 299) {
    throw Error(status, "The web server answered with status " + std::to_string(status) +
                            (reason.empty() ? "" : " " + std::string(reason)));
  }
}

}  // namespace orvex
