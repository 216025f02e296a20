// The shell's windows as the operator meets them: the tray icon's drawing, the splash that closes
// itself, the details window's controls and buttons, right to left whatever the system's language.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "app/configuration_notes_view.h"
#include "app/details.h"
#include "app/details_window_win32.h"
#include "app/splash_win32.h"
#include "app/tray_icon_win32.h"
#include "app/window_win32.h"
#include "base/wait.h"
#include "base/wide_win32.h"
#include "keys/engines_win32.h"
#include "support/window_layout_win32.h"

namespace orvex {
namespace {

// The icon's colour pixels, top-down rows of 0x00RRGGBB, and their alpha values when asked for.
std::vector<uint32_t> IconPixels(HICON icon, int& size, std::vector<uint32_t>* alpha = nullptr) {
  ICONINFO info{};
  GetIconInfo(icon, &info);
  BITMAP bitmap{};
  GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
  size = bitmap.bmWidth;
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<uint32_t> pixels(static_cast<size_t>(size * size));
  const HDC screen = GetDC(nullptr);
  GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(size), pixels.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  for (uint32_t& pixel : pixels) {
    if (alpha) {
      alpha->push_back(pixel >> 24);
    }
    pixel &= 0xFFFFFF;
  }
  return pixels;
}

size_t CountNear(const std::vector<uint32_t>& pixels, uint32_t colour) {
  const auto isClose = [colour](uint32_t pixel) {
    for (int shift : {0, 8, 16}) {
      if (std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((colour >> shift) & 0xFF)) > 60) {
        return false;
      }
    }
    return true;
  };
  return static_cast<size_t>(std::count_if(pixels.begin(), pixels.end(), isClose));
}

// The program's own icon, as the main window draws it on the tray icon (its alpha included).
HICON ProgramIcon() {
  static const HMODULE program =
      LoadLibraryExW(L"..\\OrvexExcella.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  return static_cast<HICON>(LoadImageW(program, MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, LR_SHARED));
}

TEST(TrayIconDrawing, TheProfileNumberShowsInItsColourOverTheBackgroundFromSizeTwoUp) {
  const uint32_t yellow = 0xFFFF00, blue = 0x0000FF;
  const struct {
    int fontSize;
    bool numberShown;
  } cases[] = {{1, false}, {22, true}, {8, true}};
  for (const auto& c : cases) {
    const HICON icon = DrawProfileIcon(ProgramIcon(), RGB(0, 0, 255), 3, {c.fontSize, RGB(255, 255, 0)}, kDesignDpi);
    int size = 0;
    const std::vector<uint32_t> pixels = IconPixels(icon, size);
    DestroyIcon(icon);
    EXPECT_GT(CountNear(pixels, blue), pixels.size() / 10) << "the profile colour shows around the logo";
    EXPECT_EQ(CountNear(pixels, yellow) > 0, c.numberShown) << "font size " << c.fontSize;
  }
}

TEST(TrayIconDrawing, HasTheSmallIconSizeOfTheDpiWithAReadableNumberAndNoHoles) {
  const struct {
    UINT dpi;
    int size;
  } cases[] = {{96, 16}, {144, 24}, {192, 32}};
  for (const auto& c : cases) {
    const HICON icon = DrawProfileIcon(ProgramIcon(), RGB(200, 0, 0), 2, {22, RGB(255, 255, 255)}, c.dpi);
    int size = 0;
    std::vector<uint32_t> alpha;
    const std::vector<uint32_t> pixels = IconPixels(icon, size, &alpha);
    DestroyIcon(icon);
    EXPECT_EQ(size, c.size) << c.dpi << " DPI";
    EXPECT_GT(CountNear(pixels, 0xFFFFFF), pixels.size() / 20) << "the number covers a readable part at " << c.dpi;
    EXPECT_EQ(std::count(alpha.begin(), alpha.end(), 0xFFu), static_cast<long>(alpha.size()))
        << "every pixel is opaque, so that the shell shows the background colour everywhere";
  }
}

TEST(Splash, ClosesAfterItsIntervalFromTheFirstPaintOrAtOnceOnAKey) {
  using namespace std::chrono;
  SplashWindow timed;
  const auto start = steady_clock::now();
  timed.Show(750);
  EXPECT_TRUE(GetWindowLongPtrW(timed.Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
  EXPECT_TRUE(WaitUntil(
      [&] {
        YieldToPendingMessages();
        return !timed.Exists();
      },
      seconds(5)));
  EXPECT_GE(steady_clock::now() - start, milliseconds(740));

  SplashWindow pressed;
  pressed.Show(30000);
  PostMessageW(pressed.Handle(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(WaitUntil(
      [&] {
        YieldToPendingMessages();
        return !pressed.Exists();
      },
      seconds(5)));
}

class RecordingParent : public DetailsParent {
 public:
  void NewProfileChosen(int32_t number) override { chosen.push_back(number); }
  void TryManualData(const std::function<std::string()>& manualData) override {
    tried.push_back(manualData());
  }
  std::vector<int32_t> chosen;
  std::vector<std::string> tried;
};

// The child control showing the text (asked by WM_GETTEXT, as edit boxes keep their text).
HWND ControlWithText(HWND window, std::string_view text) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (WindowText(child) == text) {
      return child;
    }
  }
  return nullptr;
}

TEST(DetailsWindow, TheListChoosesProfilesAndTheTryButtonHandsOverTheTypedLine) {
  DetailsWindow details;
  RecordingParent parent;
  details.EnsureCreated();
  details.SetParent(&parent);
  EXPECT_TRUE(GetWindowLongPtrW(details.Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
  ASSERT_NE(ControlWithText(details.Handle(), kDetailsTexts.manualData), nullptr) << "the sample line is there";

  details.ClearProfiles();
  details.AppendProfile("Default");
  details.AppendProfile("Bank11");
  details.SelectProfile(1);
  EXPECT_THROW(details.SelectProfile(2), std::exception);
  const HWND list = FindWindowExW(details.Handle(), nullptr, L"COMBOBOX", nullptr);
  SendMessageW(list, CB_SETCURSEL, 0, 0);
  SendMessageW(details.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(parent.chosen, std::vector<int32_t>{1});

  const HWND tryButton = ControlWithText(details.Handle(), kDetailsTexts.tryButton);
  SendMessageW(tryButton, BM_CLICK, 0, 0);
  EXPECT_EQ(parent.tried, std::vector<std::string>{std::string(kDetailsTexts.manualData)});
}

TEST(DetailsWindow, ClosedAndOpenedAgainItShowsTheSampleLineAgain) {
  DetailsWindow details;
  details.EnsureCreated();
  const HWND manual = ControlWithText(details.Handle(), kDetailsTexts.manualData);
  SetWindowTextW(manual, L"A999");
  SendMessageW(details.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(details.Exists());
  details.EnsureCreated();
  EXPECT_NE(ControlWithText(details.Handle(), kDetailsTexts.manualData), nullptr);
}

TEST(DetailsWindow, TheCopyButtonPutsTheReaderDataOnTheClipboard) {
  DetailsWindow details;
  details.EnsureCreated();
  details.SetReaderData("<DocInfo>קורא</DocInfo>");
  SendMessageW(ControlWithText(details.Handle(), kDetailsTexts.copyButton), BM_CLICK, 0, 0);
  ASSERT_TRUE(OpenClipboard(nullptr));
  const HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const std::string text = data ? FromWide(static_cast<const wchar_t*>(GlobalLock(data))) : "";
  if (data) {
    GlobalUnlock(data);
  }
  CloseClipboard();
  EXPECT_EQ(text, "<DocInfo>קורא</DocInfo>");
}

TEST(DetailsWindow, TheConfigurationNotesLinkShowsTheirCountAndOnlyWhenThereAreSome) {
  DetailsWindow details;
  details.EnsureCreated();
  const HWND link = ControlWithText(details.Handle(), ConfigurationNotesLinkText(0));
  ASSERT_NE(link, nullptr);
  EXPECT_FALSE(IsWindowVisible(link));
  ShowWindow(details.Handle(), SW_SHOWNOACTIVATE);
  details.SetConfigurationNotes({"one", "two"});
  EXPECT_TRUE(IsWindowVisible(link));
  EXPECT_EQ(WindowText(link), "הערות תצורה: 2");

  // A click lists the notes in a box that holds the window until it is answered.
  auto seen = std::async(std::launch::async, [&] {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindWindowW(L"#32770", ToWide(kTitleInformation).c_str())) != nullptr; },
              std::chrono::seconds(10));
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    const bool held = !IsWindowEnabled(details.Handle());
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return std::pair(FromWide(text), held);
  });
  SendMessageW(details.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), STN_CLICKED), reinterpret_cast<LPARAM>(link));
  const auto [text, held] = seen.get();
  EXPECT_EQ(text, "הערות על קובץ התצורה:\r\n\r\none\r\n\r\ntwo");
  EXPECT_TRUE(held);
}

TEST(DetailsWindow, AtANewDpiTakesTheSuggestedRectangleScalesItsControlsAndCutsNoText) {
  using namespace test_support;
  DetailsWindow details;
  details.SetConfigurationNotes(std::vector<std::string>(999, "note"));  // the link shows, with a long count
  details.EnsureCreated();
  const HWND window = details.Handle();
  ShowWindow(window, SW_SHOWNOACTIVATE);
  ASSERT_TRUE(IsWindowVisible(ControlWithText(window, ConfigurationNotesLinkText(999))));
  const UINT start = details.Dpi();
  const std::vector<RECT> atStart = ChildBounds(window);
  EXPECT_EQ(ControlsCuttingTheirText(window, start), std::vector<std::string>{}) << start << " DPI";
  for (const UINT dpi : {start * 3 / 2, start}) {
    const RECT suggested = SuggestedBounds(window, details.Dpi(), dpi);
    SendDpiChanged(window, dpi, suggested);
    const RECT bounds = WindowBounds(window);
    EXPECT_TRUE(EqualRect(&suggested, &bounds)) << dpi << " DPI";
    EXPECT_EQ(details.Dpi(), dpi);
    EXPECT_TRUE(ScaledAlike(atStart, ChildBounds(window), static_cast<double>(dpi) / start)) << dpi << " DPI";
    EXPECT_EQ(ControlsCuttingTheirText(window, dpi), std::vector<std::string>{}) << dpi << " DPI";
  }
}

}  // namespace
}  // namespace orvex
