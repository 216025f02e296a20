#pragma once

// The one connection to the reader: opened at start-up, reopened by the tray's reset command.
// A reader that does not open ends the program (message E3), except at a start with "/NOCHK".

#include <optional>
#include <string>
#include <string_view>

#include "base/message_box.h"
#include "config/shell.h"
#include "reader/reader_library.h"

namespace orvex {

class DeviceConnection {
 public:
  DeviceConnection(ReaderLibrary& library, Shell& shell, MessageBoxes& messageBoxes)
      : library_(library), shell_(shell), messageBoxes_(messageBoxes) {}

  // Start-up: sets the library time-out and opens the device. Returns the machine type, or nothing
  // when the device did not open and the program was ended. With noCheck a device that does not
  // open is only traced and the program goes on.
  std::optional<std::string> OpenAtStartUp(const std::string& deviceName, bool noCheck);

  // The tray's "reset connection" command: closes and reopens the device (a failed open ends the
  // program, "/NOCHK" or not), then traces the status, capabilities and usage replies. Returns the
  // machine type, or nothing when the program was ended.
  std::optional<std::string> Reset(const std::string& deviceName);

 private:
  bool Open(const std::string& deviceName);
  // Removes the tray icon, stops polling, shows E3 and ends the program.
  void EndForOpenFailure(const std::string& deviceName);
  void TraceQuery(const std::string& deviceName, const std::string& query, std::string_view heading);

  ReaderLibrary& library_;
  Shell& shell_;
  MessageBoxes& messageBoxes_;
};

// The E3 message: the device cannot be opened.
Message DeviceOpenFailedMessage(std::string_view deviceName);

}  // namespace orvex
