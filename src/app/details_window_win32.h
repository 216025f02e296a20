#pragma once

// frmDetails: the operator's view of the program's state. It lists the profiles and switches
// between them, shows the last raw reader reply and the last text typed into the application, and
// lets a technician feed a MICR line typed by hand. Created on first use and kept; closing it
// destroys only its window.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/window_win32.h"

namespace orvex {

// What the details window asks of the main window.
class DetailsParent {
 public:
  virtual ~DetailsParent() = default;
  virtual void NewProfileChosen(int32_t number) = 0;
  // The try button; `manualData` reads the manual entry box.
  virtual void TryManualData(const std::function<std::string()>& manualData) = 0;
};

class DetailsWindow : public OwnedWindow {
 public:
  // Creates the window with every control at its initial content when it does not exist.
  void EnsureCreated();
  void ClearProfiles();
  void AppendProfile(const std::string& name);
  // Selects a list position (0 = profile 1); Error when the list has no such position.
  void SelectProfile(int32_t position);
  void SetLastDataSent(const std::string& text);
  // The last raw reply of the reader; kept until the window is made, which then shows it.
  void SetReaderData(const std::string& text);
  // The run's configuration notes; kept until the window is made. The link that opens them shows
  // their count, and only when there is one at least.
  void SetConfigurationNotes(const std::vector<std::string>& notes);
  void SetParent(DetailsParent* parent) { parent_ = parent; }
  // Shows the window in front, restored, with the focus.
  void BringUp(HWND owner);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void AddControls();
  void OnCommand(int id, int notification);
  void CopyReaderData();
  void ShowNotesLink();

  DetailsParent* parent_ = nullptr;
  HWND profiles_ = nullptr;
  HWND readerData_ = nullptr;
  std::string readerDataText_;
  HWND lastDataSent_ = nullptr;
  HWND manualData_ = nullptr;
  HWND notesLink_ = nullptr;
  std::vector<std::string> notes_;
};

// Empties the clipboard and puts the text on it as plain text; false when the clipboard is busy.
bool PutTextOnClipboard(HWND owner, const std::string& text);

}  // namespace orvex
