// The WinINet web client and the restricted-account source against a real HTTP server on
// 127.0.0.1 (tools/http_test_server), under Wine.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/error.h"
#include "base/handle_win32.h"
#include "base/text_codec.h"
#include "base/wait.h"
#include "support/fake_message_boxes.h"
#include "support/temp_folder.h"
#include "support/trace_capture.h"
#include "verify/restricted_account_startup.h"
#include "verify/restricted_accounts.h"
#include "verify/web_client_win32.h"

namespace orvex {
namespace {

using test_support::FakeMessageBoxes;
using test_support::TempFolder;

constexpr wchar_t kServerProgram[] = L"..\\tools\\http_test_server\\http_test_server.exe";
constexpr auto kServerStartLimit = std::chrono::seconds(10);
constexpr char kNoConnectionText[] =
    "אזהרה: אין תקשורת נתונים לאתר בנק ישראל. בדיקת חשבונות מוגבלים לא תבוצע.\r\n\r\n"
    "לסיוע, נא לפנות ל-Orvex בטלפון: 09-8741226";

std::vector<std::string> FileLines(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) {
    lines.push_back(line);
  }
  return lines;
}

// The server program, running while the object lives.
class HttpTestServer {
 public:
  HttpTestServer() {
    std::wstring commandLine = std::wstring(L"\"") + kServerProgram + L"\" \"" + folder_.Path().wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &info)) {
      return;
    }
    process_ = UniqueHandle(info.hProcess);
    CloseHandle(info.hThread);
    const std::filesystem::path portFile = folder_.Path() / "port.txt";
    WaitUntil([&] { return static_cast<bool>(std::ifstream(portFile) >> port_); }, kServerStartLimit);
  }
  ~HttpTestServer() {
    if (process_) {
      TerminateProcess(process_.Get(), 0);
      WaitForSingleObject(process_.Get(), 5000);
    }
  }
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  bool Ready() const { return port_ != 0; }
  std::string Url(const std::string& path, const char* scheme = "http") const {
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(port_) + path;
  }
  // The first line of every request so far, in order.
  std::vector<std::string> RequestLines() const { return FileLines(folder_.Path() / "requests.txt"); }

 private:
  TempFolder folder_;
  UniqueHandle process_;
  int port_ = 0;
};

class WebClientTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server.Ready()) << "the test server did not start"; }

  HttpTestServer server;
  SystemClock clock;
  WinInetWebClient web{clock};
  test_support::TraceCapture trace;
};

TEST_F(WebClientTest, TheSourcesPagesGiveTheRestrictedAccountAnswers) {
  const struct {
    const char* path;
    bool restricted;
    const char* shownText;  // nullptr: nothing shown
  } cases[] = {
      {"/restricted", true,
       "חשבון מס' 00123456 בסניף מס' 345 של בנק מס' 12 מוגבל עד תאריך 31/12/2026\r\n לפי המידע מאתר בנק "
       "ישראל.\r\n\r\n"},
      {"/utf8", true,
       "חשבון מס' 00123456 בסניף מס' 345 של בנק מס' 12 מוגבל עד תאריך 01/02/2027\r\n לפי המידע מאתר בנק "
       "ישראל.\r\n\r\n"},
      {"/not-restricted", false, nullptr},
      {"/neither", false, kNoConnectionText},
      {"/empty", false, kNoConnectionText},
      // The error page's body says "not restricted"; a failing server is no answer all the same.
      {"/error", false, kNoConnectionText},
      // So does the 5 MB page's.
      {"/large", false, kNoConnectionText},
  };
  for (const auto& c : cases) {
    FakeMessageBoxes boxes;
    RestrictedAccounts accounts(web, boxes);
    EXPECT_EQ(accounts.QueryRestrictedAccount(server.Url(c.path), "123456", "345", "12"), c.restricted) << c.path;
    std::vector<std::string> expectedTexts;
    if (c.shownText != nullptr) {
      expectedTexts.push_back(c.shownText);
    }
    std::vector<std::string> texts;
    for (const Message& shown : boxes.Shown()) {
      texts.push_back(shown.text);
    }
    EXPECT_EQ(texts, expectedTexts) << c.path;
  }
  EXPECT_EQ(trace.Messages(), (std::vector<std::string>{
                                  "Error #500 - The web server answered with status 500 Internal Server Error",
                                  "Error #6 - The web server's reply is above 1 MB (1,048,576 bytes)",
                              }));
}

TEST_F(WebClientTest, TheQuestionArrivesPercentEncodedAndIsAskedOfTheServerEveryTime) {
  FakeMessageBoxes boxes;
  RestrictedAccounts accounts(web, boxes);
  accounts.QueryRestrictedAccount(server.Url("/not-restricted"), "123456", "345", "31");
  accounts.QueryRestrictedAccount(server.Url("/not-restricted"), "123456", "345", "31");
  accounts.QueryRestrictedAccount(server.Url("/not-restricted"), "12#45 6", "3=4", "1&");
  EXPECT_EQ(server.RequestLines(), (std::vector<std::string>{
                                       "GET /not-restricted?bank=31&snif=345&acct=000123456 HTTP/1.1",
                                       "GET /not-restricted?bank=31&snif=345&acct=000123456 HTTP/1.1",
                                       "GET /not-restricted?bank=1%26&snif=3%3D4&acct=012%2345%206 HTTP/1.1",
                                   }));
  EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(WebClientTest, AnEmptyAnswerIsEmptyText) {
  EXPECT_EQ(web.Fetch(server.Url("/empty")), "");
}

TEST_F(WebClientTest, AnAnswerSlowerThanTheRequestTimeOutFails) {
  web.SetRequestTimeout(1);
  const auto start = std::chrono::steady_clock::now();
  try {
    web.Fetch(server.Url("/slow"));
    ADD_FAILURE() << "the slow page came through";
  } catch (const Error& error) {
    // Windows reports the time-out as such; Wine reports the connection it dropped.
    EXPECT_THAT(error.Number(), ::testing::AnyOf(ERROR_INTERNET_TIMEOUT, ERROR_INTERNET_CONNECTION_ABORTED))
        << error.Description();
    EXPECT_FALSE(error.Description().empty());
  }
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(900));
  EXPECT_LT(waited, std::chrono::seconds(4));
}

TEST_F(WebClientTest, OneTimeOutBoundsTheWholeRequestAndABodyAbove1MbFails) {
  constexpr auto kTimeout = std::chrono::seconds(2);
  constexpr auto kMargin = std::chrono::seconds(3);
  const struct {
    const char* path;
    int32_t error;     // 0: the page comes through
    size_t sentBytes;  // of the page that comes through, as the server sent them
  } cases[] = {
      {"/dribble", ERROR_INTERNET_TIMEOUT, 0},  // a byte a second, for over a minute
      {"/large", kErrOverflow, 0},              // 5 MB
      {"/limit", 0, 1'048'576},
      {"/not-restricted", 0, 81},
  };
  web.SetRequestTimeout(2);
  for (const auto& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    int32_t error = 0;
    try {
      EXPECT_EQ(Utf8ToWindows1255(web.Fetch(server.Url(c.path))).size(), c.sentBytes) << c.path;
    } catch (const Error& failure) {
      error = failure.Number();
    }
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(error, c.error) << c.path;
    EXPECT_LT(waited, kTimeout + kMargin) << c.path;
    if (c.error == ERROR_INTERNET_TIMEOUT) {
      EXPECT_GE(waited, kTimeout) << c.path;
    }
  }
}

TEST_F(WebClientTest, FailuresCarryWinInetsNumberAndText) {
  const struct {
    std::string url;
    DWORD number;
  } cases[] = {
      {"http://127.0.0.1:1/q.asp", ERROR_INTERNET_CANNOT_CONNECT},
      {"not an address", ERROR_INTERNET_UNRECOGNIZED_SCHEME},
      {"ftp://127.0.0.1/q.asp", ERROR_INTERNET_UNRECOGNIZED_SCHEME},
  };
  for (const auto& c : cases) {
    try {
      web.Fetch(c.url);
      ADD_FAILURE() << c.url << " answered";
    } catch (const Error& error) {
      EXPECT_EQ(error.Number(), static_cast<int32_t>(c.number)) << c.url << ": " << error.Description();
      EXPECT_FALSE(error.Description().empty()) << c.url;
    }
  }
}

// A full https exchange needs a certificate that Wine trusts; the test server speaks plain HTTP.
// What it shows is that an https address goes out as a TLS handshake, never as a plain request.
TEST_F(WebClientTest, AnHttpsAddressIsAskedOverTls) {
  EXPECT_THROW(web.Fetch(server.Url("/not-restricted", "https")), Error);
  const std::vector<std::string> lines = server.RequestLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "bytes 16 03");  // a TLS handshake record
}

TEST_F(WebClientTest, StartUpRunsOnlyWhenTheSourceAnswersWithAPage) {
  const struct {
    const char* path;
    WebSourceCheck expected;
  } cases[] = {
      {"/not-restricted", WebSourceCheck::kAnswered},
      {"/empty", WebSourceCheck::kUnreachable},
      {"/error", WebSourceCheck::kUnreachable},
      {"/large", WebSourceCheck::kUnreachable},
  };
  for (const auto& c : cases) {
    FakeMessageBoxes boxes;
    EXPECT_EQ(CheckWebSourceConnection(server.Url(c.path), web, boxes), c.expected) << c.path;
  }
}

TEST(RestrictedAccountList, AListFileLockedByAnotherProgramAnswersFalseWithoutAWord) {
  TempFolder folder;
  const std::filesystem::path list = folder.Path() / "ACC12345.TXT";
  std::ofstream(list, std::ios::binary) << "0000000001001234562025010520251231\r\n";
  const UniqueHandle locked(
      CreateFileW(list.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(locked);
  SystemClock clock;
  WinInetWebClient web(clock);
  FakeMessageBoxes boxes;
  RestrictedAccounts accounts(web, boxes);
  EXPECT_FALSE(accounts.IsAccountListed(folder.File("") + "\\", "123456", "345", "12"));
  EXPECT_TRUE(boxes.Shown().empty());
}

}  // namespace
}  // namespace orvex
