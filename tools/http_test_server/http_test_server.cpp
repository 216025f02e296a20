// A small HTTP server on 127.0.0.1 for the web client's tests: it answers the pages the
// restricted-account source may give, in Windows-1255 as that source writes them, and records the
// first line of every request.
//
//   http_test_server.exe <folder>
//
// The port it listens on is written to <folder>\port.txt once it accepts connections; every
// request line is appended to <folder>\requests.txt before the answer goes out. Pages, by path:
//   /restricted       a restricted account with its date
//   /not-restricted   an account that is not restricted (charset announced)
//   /neither          a page whose title says neither
//   /empty            no body at all
//   /utf8             a restricted account in UTF-8, charset announced
//   /slow             the not-restricted page after five seconds
//   /dribble          the not-restricted page, one byte a second (well over a minute in all)
//   /limit            the not-restricted page padded with blanks to exactly 1 MB (1,048,576 bytes)
//   /large            the same padded to 5 MB
//   /error            status 500, with a not-restricted page as its body
// Anything else is 404. It runs until it is ended.

#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

#include "base/text_codec.h"

namespace {

constexpr auto kSlowPageDelay = std::chrono::seconds(5);
constexpr auto kDribbleInterval = std::chrono::seconds(1);
constexpr size_t kMegabyte = 1'048'576;

enum class Pace {
  kAtOnce,
  kAfterDelay,  // the whole answer after kSlowPageDelay
  kByteByByte,  // the headers at once, then the body one byte every kDribbleInterval
};

struct Page {
  std::string status = "200 OK";
  std::string contentType = "text/html";
  std::string body;  // as sent
  Pace pace = Pace::kAtOnce;
};

std::string InWindows1255(std::string_view utf8) {
  return orvex::Utf8ToWindows1255(utf8);
}

// The page with blanks after it, `size` bytes in all.
std::string PaddedTo(std::string page, size_t size) {
  page.resize(size, ' ');
  return page;
}

Page PageFor(std::string_view path) {
  const std::string notRestricted =
      InWindows1255("<html><head><title>בדיקת חשבון: חשבון לא מוגבל</title></head><body></body></html>");
  if (path == "/restricted") {
    return {.body = InWindows1255("<html><head><title>בדיקת חשבון: חשבון מוגבל</title></head>"
                                  "<body><p>חשבון מוגבל עד 31/12/2026</p></body></html>")};
  }
  if (path == "/not-restricted") {
    return {.contentType = "text/html; charset=windows-1255", .body = notRestricted};
  }
  if (path == "/neither") {
    return {.body = InWindows1255("<html><head><title>השירות אינו זמין</title></head></html>")};
  }
  if (path == "/empty") {
    return {};
  }
  if (path == "/utf8") {
    return {.contentType = "text/html; charset=utf-8",
            .body = "<html><head><title>חשבון מוגבל</title></head><body>חשבון מוגבל עד 01/02/2027</body></html>"};
  }
  if (path == "/slow") {
    return {.body = notRestricted, .pace = Pace::kAfterDelay};
  }
  if (path == "/dribble") {
    return {.body = notRestricted, .pace = Pace::kByteByByte};
  }
  if (path == "/limit") {
    return {.body = PaddedTo(notRestricted, kMegabyte)};
  }
  if (path == "/large") {
    return {.body = PaddedTo(notRestricted, 5 * kMegabyte)};
  }
  if (path == "/error") {
    return {.status = "500 Internal Server Error", .body = notRestricted};
  }
  return {.status = "404 Not Found", .body = "not found"};
}

class RequestLog {
 public:
  explicit RequestLog(std::filesystem::path path) : path_(std::move(path)) {}
  void Append(const std::string& line) {
    const std::lock_guard lock(mutex_);
    std::ofstream(path_, std::ios::binary | std::ios::app) << line << "\n";
  }

 private:
  std::mutex mutex_;
  std::filesystem::path path_;
};

// The request up to its empty line; for a request that is not HTTP text (a TLS handshake), the
// first bytes that came.
std::string ReceiveRequest(SOCKET client) {
  std::string received;
  char chunk[4096];
  while (received.find("\r\n\r\n") == std::string::npos) {
    const int count = recv(client, chunk, sizeof chunk, 0);
    if (count <= 0) {
      break;
    }
    received.append(chunk, static_cast<size_t>(count));
    if (received[0] < 'A' || received[0] > 'Z') {
      break;
    }
  }
  return received;
}

// The request line, or "bytes" and the first two bytes in hexadecimal when it is not text.
std::string RequestLine(const std::string& request) {
  if (!request.empty() && (request[0] < 'A' || request[0] > 'Z')) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "bytes %02X %02X", static_cast<unsigned char>(request[0]),
                  request.size() > 1 ? static_cast<unsigned char>(request[1]) : 0u);
    return hex;
  }
  return request.substr(0, request.find("\r\n"));
}

// "/path" of "GET /path?query HTTP/1.1".
std::string PathOf(const std::string& requestLine) {
  const size_t start = requestLine.find(' ') + 1;
  const size_t end = requestLine.find_first_of("? ", start);
  return requestLine.substr(start, end - start);
}

// False when the client has gone.
bool SendAll(SOCKET client, std::string_view bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const int count = send(client, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
    if (count <= 0) {
      return false;
    }
    sent += static_cast<size_t>(count);
  }
  return true;
}

void SendPage(SOCKET client, const Page& page) {
  const std::string head = "HTTP/1.1 " + page.status + "\r\nContent-Type: " + page.contentType +
                           "\r\nContent-Length: " + std::to_string(page.body.size()) + "\r\nConnection: close\r\n\r\n";
  switch (page.pace) {
    case Pace::kAtOnce:
      SendAll(client, head + page.body);
      return;
    case Pace::kAfterDelay:
      std::this_thread::sleep_for(kSlowPageDelay);
      SendAll(client, head + page.body);
      return;
    case Pace::kByteByByte:
      if (!SendAll(client, head)) {
        return;
      }
      for (const char& byte : page.body) {
        std::this_thread::sleep_for(kDribbleInterval);
        if (!SendAll(client, std::string_view(&byte, 1))) {
          return;
        }
      }
      return;
  }
}

void Serve(SOCKET client, RequestLog& log) {
  const std::string requestLine = RequestLine(ReceiveRequest(client));
  log.Append(requestLine);
  if (requestLine.starts_with("GET ")) {
    SendPage(client, PageFor(PathOf(requestLine)));
  }
  shutdown(client, SD_SEND);
  closesocket(client);
}

// Listens on 127.0.0.1 at a port the system chooses; INVALID_SOCKET on failure.
SOCKET Listen(unsigned short& port) {
  const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  if (listener == INVALID_SOCKET || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener, SOMAXCONN) != 0 || getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return INVALID_SOCKET;
  }
  port = ntohs(address.sin_port);
  return listener;
}

// Written under another name and renamed, so a reader never sees half a number.
bool PublishPort(const std::filesystem::path& folder, unsigned short port) {
  const std::filesystem::path partial = folder / "port.tmp";
  std::ofstream(partial, std::ios::binary) << port;
  std::error_code error;
  std::filesystem::rename(partial, folder / "port.txt", error);
  return !error;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: http_test_server <folder>\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  WSADATA winsock{};
  if (WSAStartup(MAKEWORD(2, 2), &winsock) != 0) {
    return 1;
  }
  unsigned short port = 0;
  const SOCKET listener = Listen(port);
  if (listener == INVALID_SOCKET || !PublishPort(folder, port)) {
    return 1;
  }
  RequestLog log(folder / "requests.txt");
  for (;;) {
    const SOCKET client = accept(listener, nullptr, nullptr);
    if (client == INVALID_SOCKET) {
      return 1;
    }
    std::thread(Serve, client, std::ref(log)).detach();
  }
}
