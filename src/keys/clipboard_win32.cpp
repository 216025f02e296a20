#include <windows.h>

#include <cstring>
#include <string>

#include "base/error.h"
#include "base/trace.h"
#include "base/wide_win32.h"
#include "keys/engines_win32.h"
#include "keys/plain_text.h"

namespace orvex {
namespace {

// The system-menu paste command, sign-extended as a 32-bit number.
const WPARAM kPasteCommand = static_cast<WPARAM>(static_cast<LONG_PTR>(static_cast<int32_t>(0xFFFFE001u)));
constexpr UINT kPasteTimeoutMs = 10000;

// A message-only window that owns the clipboard while the text is set.
class ClipboardOwner {
 public:
  ClipboardOwner()
      : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                                nullptr)) {}
  ~ClipboardOwner() {
    if (window_) {
      DestroyWindow(window_);
    }
  }
  ClipboardOwner(const ClipboardOwner&) = delete;
  ClipboardOwner& operator=(const ClipboardOwner&) = delete;
  HWND Window() const { return window_; }

 private:
  HWND window_;
};

// The clipboard, open for as long as this lives. Another program may hold it for a moment, so
// opening is tried a few times.
class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) {
    for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
      open_ = OpenClipboard(owner);
      if (!open_) {
        Sleep(20);
      }
    }
    if (!open_) {
      throw Error(kErrCannotOpenClipboard, "Can't open Clipboard");
    }
  }
  ~OpenClipboardScope() { CloseClipboard(); }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

 private:
  bool open_ = false;
};

// Global memory handed to the clipboard; freed here unless the clipboard took it.
class ClipboardText {
 public:
  explicit ClipboardText(const std::wstring& text)
      : memory_(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
    if (!memory_) {
      throw Error(kErrCannotOpenClipboard, "Can't open Clipboard");
    }
    std::memcpy(GlobalLock(memory_), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory_);
  }
  ~ClipboardText() {
    if (memory_) {
      GlobalFree(memory_);
    }
  }
  ClipboardText(const ClipboardText&) = delete;
  ClipboardText& operator=(const ClipboardText&) = delete;

  void HandTo(UINT format) {
    if (!SetClipboardData(format, memory_)) {
      throw Error(kErrCannotOpenClipboard, "Can't open Clipboard");
    }
    memory_ = nullptr;
  }

 private:
  HGLOBAL memory_;
};

}  // namespace

void KeysToClipboard(std::string_view text) {
  const std::string plain = KeysToPlainText(text);
  ClipboardText memory(ToWide(plain));
  const ClipboardOwner owner;
  const OpenClipboardScope clipboard(owner.Window());
  EmptyClipboard();
  memory.HandTo(CF_UNICODETEXT);
}

void PasteToForeground() {
  const HWND foreground = GetForegroundWindow();
  if (!foreground) {
    const DWORD lastError = GetLastError();
    WriteDebugLog("Cannot find target");
    WriteDebugLog(std::to_string(lastError));
    return;
  }
  int32_t zero = 0;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(foreground, WM_SYSCOMMAND, kPasteCommand, reinterpret_cast<LPARAM>(&zero),
                           SMTO_NORMAL | SMTO_ABORTIFHUNG, kPasteTimeoutMs, &result)) {
    WriteDebugLog("Paste command not handled by the target window, error " + std::to_string(GetLastError()));
  }
}

}  // namespace orvex
