#include "verify/web_client_win32.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <initializer_list>

#include "base/error.h"
#include "base/handle_win32.h"
#include "base/wide_win32.h"

namespace orvex {
namespace {

constexpr wchar_t kAgent[] = L"Orvex Excella";
// A "not restricted" answer from a cache would hide a restriction: always from the server, never kept.
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
constexpr DWORD kReadChunk = 8192;

using InternetHandle = UniqueResource<HINTERNET, InternetCloseHandle>;

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

// The time a WinINet call may still wait, in its unit. Once the deadline has passed the request
// ends with WinINet's own time-out error, whatever the server is still sending.
DWORD RemainingMilliseconds(const RequestDeadline& deadline) {
  const std::chrono::milliseconds remaining = deadline.Remaining();
  if (remaining.count() == 0) {
    ThrowInternetError(ERROR_INTERNET_TIMEOUT);
  }
  return static_cast<DWORD>(remaining.count());
}

// The time-outs of the request's next call: what is left of the whole request's time.
void SetTimeouts(const InternetHandle& request, std::initializer_list<DWORD> options, const RequestDeadline& deadline) {
  DWORD milliseconds = RemainingMilliseconds(deadline);
  for (const DWORD option : options) {
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

// Reads only what WinINet reports as arrived, so no read waits to fill its buffer (a server that
// sends a byte a second would hold a full-buffer read for hours); each wait for more ends by the
// deadline, and the body never holds more than its limit.
void ReadBody(const InternetHandle& request, const RequestDeadline& deadline, CappedWebBody& body) {
  char chunk[kReadChunk];
  for (;;) {
    SetTimeouts(request, {INTERNET_OPTION_RECEIVE_TIMEOUT}, deadline);
    DWORD available = 0;
    if (!InternetQueryDataAvailable(request.Get(), &available, 0, 0)) {
      ThrowLastInternetError();
    }
    if (available == 0) {
      return;
    }
    DWORD read = 0;
    if (!InternetReadFile(request.Get(), chunk, std::min<DWORD>(available, sizeof chunk), &read)) {
      ThrowLastInternetError();
    }
    body.Append(std::string_view(chunk, read));
  }
}

}  // namespace

std::string WinInetWebClient::Fetch(const std::string& url) {
  const RequestDeadline deadline(clock_, timeout_);
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
  // Connecting, sending and the answer's headers are one call: each of its waits may take what is
  // left when it starts.
  SetTimeouts(request, {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT},
              deadline);
  if (!HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0)) {
    ThrowLastInternetError();
  }
  RequireSuccessStatus(StatusCode(request), HeaderText(request, HTTP_QUERY_STATUS_TEXT));
  const std::string contentType = HeaderText(request, HTTP_QUERY_CONTENT_TYPE);
  CappedWebBody body;
  ReadBody(request, deadline, body);
  return DecodeWebBody(body.Bytes(), contentType);
}

void WinInetWebClient::SetRequestTimeout(int32_t seconds) {
  constexpr int64_t kLongestMilliseconds = INFINITE - 1;  // INFINITE itself would mean no time-out
  timeout_ = std::chrono::milliseconds(std::min(int64_t{std::max(seconds, 1)} * 1000, kLongestMilliseconds));
}

}  // namespace orvex
