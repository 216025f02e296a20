#include "verify/web_client_win32.h"

#include <wininet.h>

#include <algorithm>
#include <cstdint>

#include "base/error.h"
#include "base/wide_win32.h"

namespace orvex {
namespace {

constexpr wchar_t kAgent[] = L"Orvex Excella";
// A "not restricted" answer from a cache would hide a restriction: always from the server, never kept.
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
constexpr DWORD kReadChunk = 8192;

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  ~InternetHandle() {
    if (handle_) {
      InternetCloseHandle(handle_);
    }
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;

  HINTERNET Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

// WinINet's own text for its error numbers, the system's for the others.
std::string InternetErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM |
                         FORMAT_MESSAGE_IGNORE_INSERTS,
                     GetModuleHandleW(L"wininet.dll"), code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer, length);
  LocalFree(buffer);
  text.erase(text.find_last_not_of(L" \r\n.") + 1);
  return text.empty() ? "Internet error " + std::to_string(code) : FromWide(text);
}

[[noreturn]] void ThrowInternetError(DWORD code) {
  throw Error(static_cast<int32_t>(code), InternetErrorText(code));
}

[[noreturn]] void ThrowLastInternetError() {
  ThrowInternetError(GetLastError());
}

struct Address {
  bool secure = false;
  std::wstring host;
  INTERNET_PORT port = 0;
  std::wstring pathAndQuery;
};

Address CrackedAddress(const std::wstring& url) {
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof parts;
  // Non-zero lengths without buffers: the parts are pointed to inside the address.
  parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
  if (!InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) {
    ThrowLastInternetError();
  }
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
    ThrowInternetError(ERROR_INTERNET_UNRECOGNIZED_SCHEME);
  }
  Address address;
  address.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  address.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  address.port = parts.nPort;
  address.pathAndQuery.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  address.pathAndQuery.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (address.pathAndQuery.empty() || address.pathAndQuery.front() != L'/') {
    address.pathAndQuery.insert(0, L"/");
  }
  return address;
}

void SetTimeouts(const InternetHandle& request, DWORD milliseconds) {
  for (const DWORD option :
       {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    if (!InternetSetOptionW(request.Get(), option, &milliseconds, sizeof milliseconds)) {
      ThrowLastInternetError();
    }
  }
}

int32_t StatusCode(const InternetHandle& request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!HttpQueryInfoW(request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
    ThrowLastInternetError();
  }
  return static_cast<int32_t>(status);
}

// A header of the answer; "" when the server sent none.
std::string HeaderText(const InternetHandle& request, DWORD header) {
  DWORD size = 0;
  HttpQueryInfoW(request.Get(), header, nullptr, &size, nullptr);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
    return "";
  }
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (!HttpQueryInfoW(request.Get(), header, text.data(), &size, nullptr)) {
    return "";
  }
  text.resize(size / sizeof(wchar_t));
  return FromWide(text);
}

std::string BodyBytes(const InternetHandle& request) {
  std::string body;
  char chunk[kReadChunk];
  for (;;) {
    DWORD read = 0;
    if (!InternetReadFile(request.Get(), chunk, sizeof chunk, &read)) {
      ThrowLastInternetError();
    }
    if (read == 0) {
      return body;
    }
    body.append(chunk, read);
  }
}

}  // namespace

std::string WinInetWebClient::Fetch(const std::string& url) {
  const Address address = CrackedAddress(ToWide(url));
  const InternetHandle session(InternetOpenW(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) {
    ThrowLastInternetError();
  }
  const InternetHandle connection(InternetConnectW(session.Get(), address.host.c_str(), address.port, nullptr, nullptr,
                                                   INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) {
    ThrowLastInternetError();
  }
  const DWORD flags = kRequestFlags | (address.secure ? INTERNET_FLAG_SECURE : 0);
  const InternetHandle request(
      HttpOpenRequestW(connection.Get(), L"GET", address.pathAndQuery.c_str(), nullptr, nullptr, nullptr, flags, 0));
  if (!request) {
    ThrowLastInternetError();
  }
  SetTimeouts(request, timeoutMilliseconds_);
  if (!HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0)) {
    ThrowLastInternetError();
  }
  RequireSuccessStatus(StatusCode(request), HeaderText(request, HTTP_QUERY_STATUS_TEXT));
  const std::string contentType = HeaderText(request, HTTP_QUERY_CONTENT_TYPE);
  return DecodeWebBody(BodyBytes(request), contentType);
}

void WinInetWebClient::SetRequestTimeout(int32_t seconds) {
  constexpr int64_t kLongestMilliseconds = INFINITE - 1;  // INFINITE itself would mean no time-out
  timeoutMilliseconds_ = static_cast<DWORD>(std::min(int64_t{std::max(seconds, 1)} * 1000, kLongestMilliseconds));
}

}  // namespace orvex
