#include "dialogs/dialog_window_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "base/dpi_win32.h"
#include "base/error.h"
#include "base/text_codec.h"
#include "base/trace.h"
#include "base/wide_win32.h"

namespace orvex {
namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr int kTwipsPerInch = 1440;

// An in-memory dialog template without items: the controls are added when the dialog starts.
std::vector<WORD> DialogTemplate(const DialogFrame& frame) {
  std::vector<WORD> words;
  const auto add32 = [&](DWORD value) {
    words.push_back(LOWORD(value));
    words.push_back(HIWORD(value));
  };
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_CENTER;
  style |= frame.resizable ? WS_THICKFRAME | WS_MAXIMIZEBOX : DS_MODALFRAME;
  add32(style);
  add32(WS_EX_DLGMODALFRAME | WS_EX_RTLREADING | WS_EX_RIGHT);
  words.push_back(0);  // no items
  words.insert(words.end(), {0, 0, static_cast<WORD>(frame.size.cx), static_cast<WORD>(frame.size.cy)});
  words.insert(words.end(), {0, 0, 0});  // no menu, the standard class, the caption is set later
  // The message font, so that the frame has the size the controls take in it.
  words.push_back(static_cast<WORD>(MessageFontPoints()));
  const LOGFONTW messageFont = MessageLogFont(kDesignDpi);
  const std::wstring_view face = messageFont.lfFaceName;
  words.insert(words.end(), face.begin(), face.end());
  words.push_back(0);
  return words;
}

// Labels and check boxes read right to left from their right edge, buttons right to left in their
// middle; text boxes hold digits and dates, which read left to right.
DWORD ReadingOrder(const ControlLayout& layout) {
  const std::wstring_view windowClass = layout.windowClass;
  if (windowClass == L"EDIT") {
    return 0;
  }
  const bool pushButton = windowClass == L"BUTTON" && (layout.style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON;
  return pushButton ? WS_EX_RTLREADING : WS_EX_RTLREADING | WS_EX_RIGHT;
}

bool IsLabel(const ControlLayout& layout) {
  return std::wstring_view(layout.windowClass) == L"STATIC" && (layout.style & SS_TYPEMASK) != SS_OWNERDRAW;
}

// A label's text, right to left from its right edge, wrapped at words.
void DrawLabel(const DRAWITEMSTRUCT& item) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(item.hwndItem)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(item.hwndItem, text.data(), static_cast<int>(text.size()))));
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_3DFACE));
  const auto font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
  const HGDIOBJ previous = SelectObject(item.hDC, font);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(COLOR_WINDOWTEXT));
  RECT area = item.rcItem;
  DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &area,
            DT_RIGHT | DT_RTLREADING | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(item.hDC, previous);
}

// The dialog base units of a font, as the dialog manager takes them: half the average width of
// the Latin letters, rounded, and the font's height.
SIZE DialogBaseUnits(HWND dialog, HFONT font) {
  const HDC dc = GetDC(dialog);
  const HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  constexpr std::wstring_view kLetters = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE letters{};
  GetTextExtentPoint32W(dc, kLetters.data(), static_cast<int>(kLetters.size()), &letters);
  SelectObject(dc, previous);
  ReleaseDC(dialog, dc);
  return {(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

int PixelsOfTwips(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}

}  // namespace

TwipsRect DialogForm::ToTwips(const RECT& pixels) const {
  const auto twips = [&](LONG length) { return MulDiv(length, kTwipsPerInch, static_cast<int>(dpi_)); };
  return {twips(pixels.left), twips(pixels.top), twips(pixels.right - pixels.left), twips(pixels.bottom - pixels.top)};
}

TwipsRect DialogForm::Bounds() const {
  RECT pixels;
  GetWindowRect(window_, &pixels);
  return ToTwips(pixels);
}

void DialogForm::SetBounds(const TwipsRect& bounds) {
  MoveWindow(window_, PixelsOfTwips(bounds.left, dpi_), PixelsOfTwips(bounds.top, dpi_),
             PixelsOfTwips(bounds.width, dpi_), PixelsOfTwips(bounds.height, dpi_), TRUE);
}

TwipsSize DialogForm::ScreenSize() const {
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const TwipsRect twips = ToTwips(screen);
  return {twips.width, twips.height};
}

TwipsSize DialogForm::TwipsPerPixel() const {
  const int twips = MulDiv(1, kTwipsPerInch, static_cast<int>(dpi_));
  return {twips, twips};
}

std::vector<HWND> DialogForm::Children() const {
  std::vector<HWND> children;
  for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

std::string DialogForm::ControlName(size_t index) const {
  const int id = GetDlgCtrlID(Children().at(index));
  const auto named = std::find_if(names_.begin(), names_.end(), [&](const auto& entry) { return entry.first == id; });
  return named == names_.end() ? std::string() : std::string(named->second);
}

TwipsRect DialogForm::ControlBounds(size_t index) const {
  RECT pixels;
  GetWindowRect(Children().at(index), &pixels);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&pixels), 2);
  return ToTwips(pixels);
}

void DialogForm::SetControlBounds(size_t index, const TwipsRect& bounds) {
  MoveWindow(Children().at(index), PixelsOfTwips(bounds.left, dpi_), PixelsOfTwips(bounds.top, dpi_),
             PixelsOfTwips(bounds.width, dpi_), PixelsOfTwips(bounds.height, dpi_), TRUE);
}

INT_PTR DialogWindow::RunModal(const DialogFrame& frame) {
  const std::vector<WORD> dialogTemplate = DialogTemplate(frame);
  names_.clear();
  places_.clear();
  labels_.clear();
  caption_ = frame.caption;
  frameSize_ = frame.size;
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()),
                                 nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
}

void DialogWindow::AddControls(const std::vector<ControlLayout>& layouts) {
  for (const ControlLayout& layout : layouts) {
    // A label draws its own text, so that it reads right to left wherever the platform's static
    // control ignores the reading order.
    const bool label = IsLabel(layout);
    const DWORD style = label ? (layout.style & ~SS_TYPEMASK) | SS_OWNERDRAW : layout.style;
    const HWND control = CreateWindowExW(
        ReadingOrder(layout), layout.windowClass, ToWide(layout.text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0,
        0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), GetModuleHandleW(nullptr), nullptr);
    if (!control) {
      throw Error(kErrInternal, "Cannot create the control " + std::string(layout.name));
    }
    // The layout's left edge is the dialog's right edge: the controls run from right to left.
    const LONG right = frameSize_.cx - layout.bounds.left;
    places_.emplace_back(layout.id, RECT{right - layout.bounds.right, layout.bounds.top, right,
                                         layout.bounds.top + layout.bounds.bottom});
    Place(layout.id, places_.back().second);
    names_.emplace_back(layout.id, layout.name);
    if (label) {
      labels_.push_back(layout.id);
    }
  }
}

// The message font at the dialog's DPI, at the size the dialog's template names.
HFONT DialogWindow::Font() const {
  return MessageFont(dpi_, MessageFontPoints());
}

void DialogWindow::Place(int id, const RECT& dialogUnits) const {
  const SIZE base = DialogBaseUnits(window_, Font());
  const HWND control = Control(id);
  MoveWindow(control, MulDiv(dialogUnits.left, base.cx, 4), MulDiv(dialogUnits.top, base.cy, 8),
             MulDiv(dialogUnits.right - dialogUnits.left, base.cx, 4),
             MulDiv(dialogUnits.bottom - dialogUnits.top, base.cy, 8), TRUE);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
}

// The dialog at the rectangle the system suggests for the new DPI, its controls at their places
// and in the message font at that DPI. A resizable dialog's own WM_SIZE then keeps its controls
// in the proportions of the window.
void DialogWindow::LayOutAt(UINT dpi, const RECT& suggestedBounds) {
  dpi_ = dpi;
  for (const auto& [id, place] : places_) {
    Place(id, place);
  }
  SetWindowPos(window_, nullptr, suggestedBounds.left, suggestedBounds.top,
               suggestedBounds.right - suggestedBounds.left, suggestedBounds.bottom - suggestedBounds.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window_, nullptr, TRUE);
}

std::string DialogWindow::ControlText(int id) const {
  const HWND control = Control(id);
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return FromWide(text);
}

void DialogWindow::SetControlText(int id, std::string_view text) {
  SetWindowTextW(Control(id), ToWide(text).c_str());
}

void DialogWindow::Subclass(int id) {
  SetWindowSubclass(Control(id), ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void DialogWindow::FocusControl(int id) {
  SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(id)), TRUE);
}

void DialogWindow::FocusNextControl() {
  PostMessageW(window_, WM_NEXTDLGCTL, 0, FALSE);
}

void DialogWindow::KeepOnTop() {
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

FormWindow& DialogWindow::Form() {
  return *form_;
}

LRESULT DialogWindow::PassOn(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(control, message, wParam, lParam);
}

INT_PTR DialogWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowTextW(window_, ToWide(caption_).c_str());
      dpi_ = WindowDpi(window_);
      KeepDialogManagerFromRescaling(window_);
      form_.emplace(window_, names_, dpi_);
      OnInit();
      SetForegroundWindow(window_);
      return FALSE;  // OnInit placed the focus
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_DRAWITEM:
      if (const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
          std::find(labels_.begin(), labels_.end(), static_cast<int>(item.CtlID)) != labels_.end()) {
        DrawLabel(item);
        return TRUE;
      }
      return OnMessage(message, wParam, lParam).value_or(FALSE);
    case WM_CLOSE:
      EndModal(IDCANCEL);  // the close box cancels
      return TRUE;
    case WM_DPICHANGED:
      LayOutAt(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return TRUE;
    default:
      return OnMessage(message, wParam, lParam).value_or(FALSE);
  }
}

INT_PTR CALLBACK DialogWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrW(window, DWLP_USER, lParam);
      reinterpret_cast<DialogWindow*>(lParam)->window_ = window;
    }
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    return self ? self->Dispatch(message, wParam, lParam) : FALSE;
  } catch (const std::exception& exception) {
    WriteDebugLog("Dialog " + AsError(exception).TraceText());
    return FALSE;
  }
}

LRESULT CALLBACK DialogWindow::ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self) {
  try {
    if (message == WM_NCDESTROY) {
      RemoveWindowSubclass(control, ControlProc, kSubclassId);
    } else if (const std::optional<LRESULT> result =
                   reinterpret_cast<DialogWindow*>(self)->OnControlMessage(control, message, wParam, lParam)) {
      return *result;
    }
  } catch (const std::exception& exception) {
    WriteDebugLog("Dialog control " + AsError(exception).TraceText());
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

wchar_t TypedCharacter(uint8_t code) {
  const std::u16string typed = Utf8ToUtf16(Windows1255ToUtf8(std::string(1, static_cast<char>(code))));
  return typed.empty() ? L'\0' : static_cast<wchar_t>(typed[0]);
}

}  // namespace orvex
