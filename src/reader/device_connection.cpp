#include "reader/device_connection.h"

#include "base/error.h"
#include "base/trace.h"

namespace orvex {

Message DeviceOpenFailedMessage(std::string_view deviceName) {
  return Message{.title = std::string(kTitleReaderError),
                 .text = ErrorText("לא ניתן לפתוח את ההתקן " + std::string(deviceName)),
                 .icon = MessageIcon::Exclamation,
                 .buttons = MessageButtons::Ok};
}

bool DeviceConnection::Open(const std::string& deviceName) {
  WriteDebugLog("Calling MTMICROpenDevice(" + deviceName + ")");
  const int32_t result = library_.MTMICROpenDevice(deviceName);
  if (result != 0) {
    WriteDebugLog("MTMICROpenDevice(" + deviceName + ") returned " + std::to_string(result));
  }
  return result == 0;
}

void DeviceConnection::EndForOpenFailure(const std::string& deviceName) {
  RunSkippingError([&] { shell_.RemoveTrayIcon(); });
  RunSkippingError([&] { shell_.StopPolling(); });
  messageBoxes_.Show(DeviceOpenFailedMessage(deviceName));
  shell_.DoEnd(true);
}

std::optional<std::string> DeviceConnection::OpenAtStartUp(const std::string& deviceName, bool noCheck) {
  library_.MTMICRSetTimeout(kReaderLibraryTimeout);
  if (!Open(deviceName) && !noCheck) {
    EndForOpenFailure(deviceName);
    return std::nullopt;
  }
  return GetExcellaMachineType(library_, deviceName);
}

std::optional<std::string> DeviceConnection::Reset(const std::string& deviceName) {
  WriteDebugLog("Calling MTMICRCloseDevice(" + deviceName + ")");
  library_.MTMICRCloseDevice(deviceName);
  if (!Open(deviceName)) {
    EndForOpenFailure(deviceName);
    return std::nullopt;
  }
  std::string machineType = GetExcellaMachineType(library_, deviceName);
  TraceQuery(deviceName, "DeviceStatus", "Device Status:");
  TraceQuery(deviceName, "DeviceCapabilities", "Device Capabilities:");
  TraceQuery(deviceName, "DeviceUsage", "Device Usage:");
  return machineType;
}

void DeviceConnection::TraceQuery(const std::string& deviceName, const std::string& query, std::string_view heading) {
  std::string reply;
  int32_t capacity = kReaderBufferCapacity;
  library_.MTMICRQueryInfo(deviceName, query, reply, capacity);
  WriteDebugLog(std::string(heading) + "\r\n" + reply);
}

}  // namespace orvex
