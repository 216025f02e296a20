#include "dialogs/cheque_dialogs_win32.h"

#include <array>

#include "base/error.h"
#include "base/trace.h"
#include "base/wide_win32.h"
#include "config/window_placement.h"
#include "dialogs/dialog_texts.h"
#include "dialogs/dialog_window_win32.h"
#include "dialogs/masked_date_box.h"
#include "dialogs/preview_image_win32.h"
#include "keys/engines_win32.h"

namespace orvex {
namespace {

enum ControlId : int {
  kIdLabel1 = 100,
  kIdImage1 = 101,
  kIdFieldLabel = 110,  // one per number field, in the fields' order
  kIdAmountLabel = 114,
  kIdDateLabel = 115,
  kIdField = 120,  // the number fields, in their order
  kIdAmount = 124,
  kIdDate = 125,
  kIdVerifyCode = 130,
};

constexpr std::array<std::string_view, 4> kFieldLabelNames = {"lblChequeNum", "lblBankNum", "lblBranchNum",
                                                              "lblAccountNum"};
constexpr wchar_t kEnter = L'\r';

constexpr DWORD kLabelStyle = SS_RIGHT | SS_NOPREFIX;
constexpr DWORD kFieldStyle = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kButtonStyle = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kDefaultButtonStyle = WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kCheckBoxStyle = WS_TABSTOP | BS_AUTOCHECKBOX | BS_LEFTTEXT | BS_RIGHT;

// Where a field's label and box lie, in dialog units: the label from `left`, the box after it.
struct FieldPlace {
  LONG left;
  LONG top;
};
constexpr LONG kLabelWidth = 52;
constexpr LONG kBoxWidth = 110;
constexpr LONG kRowHeight = 12;

void AddField(std::vector<ControlLayout>& layouts, FieldPlace place, int labelId, std::string_view labelName,
              std::string_view label, int boxId, std::string_view boxName) {
  layouts.push_back({labelId, labelName, L"STATIC", label, kLabelStyle, {place.left, place.top + 2, kLabelWidth, 10}});
  layouts.push_back(
      {boxId, boxName, L"EDIT", "", kFieldStyle, {place.left + kLabelWidth + 2, place.top, kBoxWidth, kRowHeight}});
}

void AddNumberFields(std::vector<ControlLayout>& layouts, const std::array<FieldPlace, 4>& places) {
  for (size_t i = 0; i < places.size(); ++i) {
    const ChequeFieldRow& row = ChequeFieldRows()[i];
    AddField(layouts, places[i], kIdFieldLabel + static_cast<int>(i), kFieldLabelNames[i], row.label,
             kIdField + static_cast<int>(i), row.name);
  }
}

// The fields, the buttons and the check box both dialogs share, and the rules of their fields.
class ChequeDialog : public DialogWindow {
 protected:
  ChequeDialog(const ChequeDialogRequest& request, uint8_t tabChar, bool enterMovesOn)
      : request_(request), tabChar_(TypedCharacter(tabChar)), enterMovesOn_(enterMovesOn) {}

  // The captured fields in their boxes with their unread part selected, and the ignore box under
  // the caller's caption when there is one.
  void FillFields() {
    for (size_t i = 0; i < ChequeFieldRows().size(); ++i) {
      const int id = kIdField + static_cast<int>(i);
      const std::string& text = request_.fields.*ChequeFieldRows()[i].field;
      SetControlText(id, text);
      if (const std::optional<TextSelection> missing = MarkMissingData(text)) {
        SendMessageW(Control(id), EM_SETSEL, missing->start, missing->start + missing->length);
      }
      Subclass(id);
    }
    SetControlText(kIdVerifyCode, request_.verifyCaption);
    ShowWindow(Control(kIdVerifyCode), request_.verifyCaption.empty() ? SW_HIDE : SW_SHOW);
  }

  ChequeFields TypedFields() const {
    ChequeFields fields;
    for (size_t i = 0; i < ChequeFieldRows().size(); ++i) {
      fields.*ChequeFieldRows()[i].field = ControlText(kIdField + static_cast<int>(i));
    }
    return fields;
  }

  bool VerifyTicked() const { return IsDlgButtonChecked(Window(), kIdVerifyCode) == BST_CHECKED; }

  // The number fields and the amount: TabChar moves on (the character still reaches the field);
  // Enter moves on too where the dialog has no default button. A field keeps its selection when
  // the focus comes to it.
  std::optional<LRESULT> FieldMessage(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) {
      return FieldDialogCode(field, wParam, lParam);
    }
    if (message == WM_CHAR && enterMovesOn_ && wParam == kEnter) {
      FocusNextControl();
      return 0;
    }
    if (message == WM_CHAR && wParam == static_cast<WPARAM>(tabChar_)) {
      PassOn(field, message, wParam, lParam);
      FocusNextControl();
      return 0;
    }
    return std::nullopt;
  }

  LRESULT FieldDialogCode(HWND field, WPARAM wParam, LPARAM lParam) const {
    LRESULT code = PassOn(field, WM_GETDLGCODE, wParam, lParam) & ~DLGC_HASSETSEL;
    if (enterMovesOn_ && wParam == VK_RETURN) {
      code |= DLGC_WANTALLKEYS;
    }
    return code;
  }

  void Finish(ChequeCompletion entry) {
    result_ = std::move(entry);
    EndModal(IDOK);
  }

  ChequeDialogRequest request_;
  wchar_t tabChar_;
  bool enterMovesOn_;
  std::optional<ChequeCompletion> result_;
};

class ChequeDataDialog final : public ChequeDialog {
 public:
  ChequeDataDialog(const ChequeDialogRequest& request, uint8_t tabChar) : ChequeDialog(request, tabChar, false) {}

  std::optional<ChequeCompletion> Show() {
    RunModal({kChequeDataCaption, {230, 152}, false});
    return result_;
  }

 private:
  void OnInit() override {
    std::vector<ControlLayout> layouts = {
        {kIdLabel1, "Label1", L"STATIC", kChequeDataInstructions, kLabelStyle, {7, 7, 216, 34}}};
    AddNumberFields(layouts, {{{7, 46}, {7, 62}, {7, 78}, {7, 94}}});
    layouts.push_back({IDOK, "cmdOK", L"BUTTON", kOkCaption, kDefaultButtonStyle, {7, 130, 50, 14}});
    layouts.push_back({IDCANCEL, "cmdCancel", L"BUTTON", kCancelCaption, kButtonStyle, {62, 130, 50, 14}});
    layouts.push_back({kIdVerifyCode, "VerifyCode", L"BUTTON", "", kCheckBoxStyle, {7, 112, 216, 12}});
    AddControls(layouts);
    FillFields();
    KeepOnTop();
    FocusControl(kIdField);
  }

  void OnCommand(int id, int) override {
    if (id == IDOK) {
      Finish(ConfirmChequeData(TypedFields(), VerifyTicked()));
    } else if (id == IDCANCEL) {
      EndModal(IDCANCEL);
    }
  }

  std::optional<LRESULT> OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) override {
    return FieldMessage(control, message, wParam, lParam);
  }
};

class ChequeFullDialog final : public ChequeDialog {
 public:
  ChequeFullDialog(const ChequeDialogRequest& request, std::string_view picturePath, uint8_t tabChar,
                   const Clock& clock, MessageBoxes& messages)
      : ChequeDialog(request, tabChar, tabChar == kEnter),
        picturePath_(picturePath),
        dateBox_(DateBoxText(clock.Now())),
        messages_(messages) {}

  std::optional<ChequeCompletion> Show() {
    RunModal({kChequeFullCaption, {440, 282}, true});
    return result_;
  }

 private:
  // Posted to itself: the focus goes to the amount (wParam: attempts left while it cannot).
  static constexpr UINT kFocusAmount = WM_APP + 1;
  static constexpr UINT kFocusEmptyAmount = WM_APP + 2;
  static constexpr WPARAM kFocusAttempts = 20;

  void OnInit() override {
    std::vector<ControlLayout> layouts = {
        {kIdLabel1, "Label1", L"STATIC", kChequeFullInstructions, kLabelStyle, {7, 7, 426, 18}},
        {kIdImage1, "Image1", L"STATIC", "", SS_OWNERDRAW, {7, 28, 426, 160}}};
    AddNumberFields(layouts, {{{7, 196}, {7, 212}, {7, 228}, {230, 196}}});
    AddField(layouts, {230, 212}, kIdAmountLabel, "lblAmount", kAmountLabel, kIdAmount, "txtAmount");
    AddField(layouts, {230, 228}, kIdDateLabel, "lblDate", kDateLabel, kIdDate, "txtDate");
    // Enter confirms unless it is the key that moves between the fields.
    const DWORD okStyle = enterMovesOn_ ? kButtonStyle : kDefaultButtonStyle;
    layouts.push_back({IDOK, "cmdOK", L"BUTTON", kOkCaption, okStyle, {7, 262, 50, 14}});
    layouts.push_back({IDCANCEL, "cmdCancel", L"BUTTON", kCancelCaption, kButtonStyle, {62, 262, 50, 14}});
    layouts.push_back({kIdVerifyCode, "VerifyCode", L"BUTTON", "", kCheckBoxStyle, {7, 246, 426, 12}});
    AddControls(layouts);
    if (enterMovesOn_) {
      SendMessageW(Window(), DM_SETDEFID, 0, 0);
    }
    FillFields();
    for (size_t i = 0; i < ChequeFieldRows().size(); ++i) {
      SendMessageW(Control(kIdField + static_cast<int>(i)), EM_LIMITTEXT, ChequeFieldRows()[i].fullDialogLimit, 0);
    }
    for (const int id : {kIdAmount, kIdDate}) {
      Subclass(id);
    }
    ShowDateBox();
    LoadPicture();
    KeepOnTop();
    resize_.Go(Form(), false);  // the design layout
    FocusControl(kIdAmount);
  }

  void LoadPicture() {
    try {
      picture_.Load(picturePath_);
    } catch (const std::exception& exception) {
      WriteDebugLog("frmChequeFull picture " + AsError(exception).TraceText());
    }
  }

  void OnCommand(int id, int code) override {
    if (id == IDOK) {
      Confirm();
    } else if (id == IDCANCEL) {
      EndModal(IDCANCEL);
    } else if (id == kIdAmount && code == EN_CHANGE) {
      FixAmountBox();
    }
  }

  void Confirm() {
    std::optional<ChequeCompletion> entry;
    try {
      entry = ConfirmChequeFull(TypedFields(), ControlText(kIdAmount), dateBox_.Text(), VerifyTicked());
    } catch (const std::exception& exception) {
      WriteDebugLog("frmChequeFull OK " + AsError(exception).TraceText());
    }
    if (entry) {
      Finish(std::move(*entry));
      return;
    }
    showingMessage_ = true;
    messages_.Show(Message{.title = std::string(kInvalidDateTitle),
                           .text = std::string(kInvalidDateText),
                           .icon = MessageIcon::Exclamation,
                           .buttons = MessageButtons::Ok,
                           .foreground = true});
    showingMessage_ = false;
    FocusControl(kIdDate);
  }

  // "ץ" (the period key of the Hebrew layout) becomes "." as it is typed; the caret stays.
  void FixAmountBox() {
    const std::string typed = ControlText(kIdAmount);
    const std::string fixed = FixAmount(typed);
    if (fixed != typed) {
      DWORD start = 0;
      DWORD end = 0;
      SendMessageW(Control(kIdAmount), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      SetControlText(kIdAmount, fixed);
      SendMessageW(Control(kIdAmount), EM_SETSEL, start, end);
    }
  }

  std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !showingMessage_) {
          KeepOnTop();
          PostMessageW(Window(), kFocusAmount, 0, 0);
        }
        return std::nullopt;
      case WM_PAINT:
        PostMessageW(Window(), kFocusEmptyAmount, kFocusAttempts, 0);
        return std::nullopt;
      case kFocusAmount:
        FocusControl(kIdAmount);
        return TRUE;
      case kFocusEmptyAmount:
        FocusEmptyAmount(wParam);
        return TRUE;
      case WM_SIZE:
        resize_.Go(Form(), false);
        InvalidateRect(Control(kIdImage1), nullptr, TRUE);
        return std::nullopt;
      case WM_DRAWITEM:
        return DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      default:
        return std::nullopt;
    }
  }

  INT_PTR DrawPicture(const DRAWITEMSTRUCT& item) const {
    if (item.CtlID != kIdImage1) {
      return FALSE;
    }
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    picture_.Draw(item.hDC, item.rcItem);
    return TRUE;
  }

  // An empty amount takes the focus, tried again a bounded number of times while the window
  // cannot take it yet.
  void FocusEmptyAmount(WPARAM attemptsLeft) {
    if (!ControlText(kIdAmount).empty() || GetFocus() == Control(kIdAmount)) {
      return;
    }
    FocusControl(kIdAmount);
    if (GetFocus() != Control(kIdAmount) && attemptsLeft > 1) {
      PostMessageW(Window(), kFocusEmptyAmount, attemptsLeft - 1, 0);
    }
  }

  std::optional<LRESULT> OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) override {
    if (GetDlgCtrlID(control) == kIdDate) {
      return DateBoxMessage(control, message, wParam, lParam);
    }
    return FieldMessage(control, message, wParam, lParam);
  }

  // The date box: every key and character goes through its rules; the edit only shows the result.
  std::optional<LRESULT> DateBoxMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_GETDLGCODE:
        return FieldDialogCode(box, wParam, lParam);
      case WM_KEYDOWN:
        if (!dateBox_.KeyDown(static_cast<int>(wParam), HeldModifiers(), IsNumLockOn())) {
          return std::nullopt;
        }
        ShowDateBox();
        return 0;
      case WM_CHAR:
        DateBoxChar(static_cast<wchar_t>(wParam));
        return 0;
      case WM_KEYUP:
        if (dateBox_.KeyUp(static_cast<int>(wParam), IsNumLockOn())) {
          PostMessageW(box, WM_KEYDOWN, VK_LEFT, 1);
          PostMessageW(box, WM_KEYUP, VK_LEFT, 0xC0000001);
        }
        ShowDateBox();
        return 0;
      case WM_SETFOCUS:
        PassOn(box, message, wParam, lParam);
        dateBox_.FocusGained();
        ShowDateBox();
        return 0;
      case WM_LBUTTONUP: {
        const LRESULT result = PassOn(box, message, wParam, lParam);
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        dateBox_.Select({start, end - start});
        return result;
      }
      case WM_PASTE:
      case WM_CUT:
      case WM_CLEAR:
      case WM_UNDO:
      case EM_UNDO:
      case WM_CONTEXTMENU:
        return 0;  // the mask decides every character
      default:
        return std::nullopt;
    }
  }

  void DateBoxChar(wchar_t character) {
    if (character == kEnter && enterMovesOn_) {
      FocusControl(IDOK);
    } else if (character == tabChar_) {
      FocusNextControl();
    } else {
      dateBox_.Char(character);
      ShowDateBox();
    }
  }

  static KeyModifiers HeldModifiers() {
    return {GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0};
  }

  void ShowDateBox() {
    if (ControlText(kIdDate) != dateBox_.Text()) {
      SetControlText(kIdDate, dateBox_.Text());
    }
    const TextSelection selection = dateBox_.Selection();
    SendMessageW(Control(kIdDate), EM_SETSEL, selection.start, selection.start + selection.length);
  }

  std::string picturePath_;
  MaskedDateBox dateBox_;
  MessageBoxes& messages_;
  PreviewImage picture_;
  AutoResize resize_;
  bool showingMessage_ = false;
};

}  // namespace

std::optional<ChequeCompletion> ShowChequeData(const ChequeDialogRequest& request, uint8_t tabChar) {
  return ChequeDataDialog(request, tabChar).Show();
}

std::optional<ChequeCompletion> ShowChequeFull(const ChequeDialogRequest& request, std::string_view picturePath,
                                               uint8_t tabChar, const Clock& clock, MessageBoxes& messages) {
  return ChequeFullDialog(request, picturePath, tabChar, clock, messages).Show();
}

}  // namespace orvex
