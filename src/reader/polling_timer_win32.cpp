#include "reader/polling_timer_win32.h"

#include <stdexcept>

#include "base/error.h"
#include "base/trace.h"

namespace orvex {
namespace {

constexpr wchar_t kWindowClass[] = L"OrvexPollingTimer";
constexpr UINT_PTR kTimerId = 1;
// Posted for a tick that is not to wait for the first interval.
constexpr UINT kTickNowMessage = WM_APP + 1;

void RegisterWindowClassOnce(WNDPROC procedure) {
  static const bool registered = [procedure] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassW(&windowClass) != 0;
  }();
  if (!registered) {
    throw std::runtime_error("the polling timer's window class cannot be registered");
  }
}

}  // namespace

PollingTimer::PollingTimer(UINT intervalMilliseconds, std::function<void()> tick)
    : interval_(intervalMilliseconds), tick_(std::move(tick)) {
  RegisterWindowClassOnce(WindowProc);
  window_ =
      CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window_) {
    throw std::runtime_error("the polling timer's window cannot be created");
  }
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

PollingTimer::~PollingTimer() {
  DestroyWindow(window_);
}

void PollingTimer::Start() {
  started_ = SetTimer(window_, kTimerId, interval_, nullptr) != 0;
}

void PollingTimer::StartWithTickNow() {
  Start();
  PostMessageW(window_, kTickNowMessage, 0, 0);
}

void PollingTimer::Stop() {
  KillTimer(window_, kTimerId);
  started_ = false;
}

void PollingTimer::OnTimer() {
  try {
    tick_();
  } catch (const std::exception& exception) {
    WriteDebugLog("Timer1 " + AsError(exception).TraceText());
  }
}

LRESULT CALLBACK PollingTimer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if ((message == WM_TIMER && wParam == kTimerId) || message == kTickNowMessage) {
    auto* timer = reinterpret_cast<PollingTimer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (timer && timer->started_) {
      timer->OnTimer();
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace orvex
