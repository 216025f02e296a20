#pragma once

// frmOrvexExcella: the hidden main window. It owns the tray icon and the tray menu, the splash,
// the details window and the manual debug window, and shows the configuration's state in them
// (Shell). Commands that reach beyond the windows go to the program (MainWindowHandler).

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/debug_window_win32.h"
#include "app/details_window_win32.h"
#include "app/splash_win32.h"
#include "app/tray_icon_win32.h"
#include "app/tray_menu.h"
#include "app/window_win32.h"
#include "base/numbered_list.h"
#include "config/shell.h"

namespace orvex {

// The caption of the main window, visible only for a moment during start-up.
inline constexpr std::string_view kMainWindowCaption = "קורא שיקים וכרטיסים של Orvex";
// The tray tip before the first profile load.
inline constexpr std::string_view kStartTrayTip = "קורא צ'קים וכרטיסים";
// The message a second run sends the first one: bring up your details window.
inline constexpr wchar_t kShowDetailsMessageName[] = L"OrvexExcella.ShowDetails";
// The main window's class, by which a second run finds the first.
inline constexpr wchar_t kMainWindowClass[] = L"OrvexExcellaMain";

// What the program does for the tray menu and the details window.
class MainWindowHandler {
 public:
  virtual ~MainWindowHandler() = default;
  virtual void ResetConnection() = 0;
  virtual void StartNewCsvLog() = 0;
  virtual void RunProgramEntry(int32_t number) = 0;
  virtual void SearchFolderEntry(int32_t number) = 0;
  virtual void LoadProfile(int32_t number) = 0;
  virtual void NewProfileChosen(int32_t number) = 0;
  virtual void TryManualData(const std::function<std::string()>& manualData) = 0;
  // What the details window shows when it is brought up.
  virtual const NumberedList& ProfileNames() = 0;
  virtual int32_t CurrentProfile() = 0;
  virtual std::string LastFedText() = 0;
  // The orderly exit; ends the process.
  virtual void DoEnd(bool unload) = 0;
  // False, after telling the operator, while a document is at hand: a command that changes state
  // then waits until it is done.
  virtual bool MayChangeState() = 0;
};

class MainWindow : public OwnedWindow, public Shell, private DetailsParent {
 public:
  explicit MainWindow(MainWindowHandler& handler);

  // Start-up: shows the window for a moment (without activating it with noActivate), adds the tray
  // icon, hides the window again.
  void ShowAndAddTrayIcon(bool noActivate);
  void ShowDetails();
  // The tray menu at the given screen position; returns once it has closed.
  void OpenTrayMenu(POINT at);
  void AskExit();
  // The unload path: removes the icon and ends through DoEnd(false).
  void Unload();
  ManualDebugEntries AskDebugEntries() { return debugWindow_.Ask(Handle()); }
  void SetReaderData(const std::string& text);

  // Shell
  void SetTrayTip(std::string_view tipField) override;
  void SetIconFontSize(int16_t size) override { iconLook_.fontSize = size; }
  void SetIconTextColour(int16_t red, int16_t green, int16_t blue) override;
  void ChangeIcon(uint8_t red, uint8_t green, uint8_t blue, int32_t profileNumber) override;
  void RemoveTrayIcon() override;
  void AddMenuEntry(TrayMenu menu, int32_t number, const std::string& caption) override;
  void HideMenuPlaceholder(TrayMenu menu) override { menu_.HidePlaceholder(menu); }
  void SetProfileChecked(int32_t number, bool checked) override { menu_.SetProfileChecked(number, checked); }
  void EnableRenameCsv(bool enabled) override { menu_.EnableRenameCsv(enabled); }
  bool DetailsWindowExists() override { return detailsCreated_; }
  void ClearDetailsProfiles() override { details_.ClearProfiles(); }
  void AppendDetailsProfile(const std::string& name) override { details_.AppendProfile(name); }
  void SelectDetailsProfile(int32_t position) override { details_.SelectProfile(position); }
  void SetRequestTimeout(int32_t seconds) override;
  void ShowSplash(int32_t intervalMilliseconds) override;
  void StopPolling() override;
  void DoEnd(bool unload) override { handler_.DoEnd(unload); }

  // Set by the program once its web client and polling timer exist.
  void SetRequestTimeoutTarget(std::function<void(int32_t)> target) { requestTimeout_ = std::move(target); }
  void SetStopPolling(std::function<void()> stop) { stopPolling_ = std::move(stop); }
  void SetLastDataSent(const std::string& text) { details_.SetLastDataSent(text); }
  void SetConfigurationNotes(const std::vector<std::string>& notes) { details_.SetConfigurationNotes(notes); }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDpiChanged() override;
  void DrawTrayIcon();
  void OnTrayEvent(UINT mouseMessage);
  void OnMenuCommand(ChosenCommand chosen);
  HICON ProgramIcon() const;

  // DetailsParent
  void NewProfileChosen(int32_t number) override;
  void TryManualData(const std::function<std::string()>& manualData) override;

  MainWindowHandler& handler_;
  TrayMenuState menu_;
  IconLook iconLook_;
  // What ChangeIcon drew last, drawn again at a new DPI.
  COLORREF iconBackground_ = 0;
  int32_t iconProfile_ = 0;
  bool iconDrawn_ = false;
  std::unique_ptr<TrayIcon> trayIcon_;
  SplashWindow splash_;
  DetailsWindow details_;
  bool detailsCreated_ = false;
  ManualDebugWindow debugWindow_;
  std::function<void(int32_t)> requestTimeout_;
  std::function<void()> stopPolling_;
  bool unloading_ = false;
};

}  // namespace orvex
