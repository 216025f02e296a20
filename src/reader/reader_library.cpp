#include "reader/reader_library.h"

#include <algorithm>

namespace orvex {

std::string GetExcellaMachineType(ReaderLibrary& library, const std::string& deviceName) {
  std::string reply;
  int32_t replyCapacity = kReaderBufferCapacity;
  library.MTMICRQueryInfo(deviceName, "DeviceCapabilities", reply, replyCapacity);

  std::string machineType;
  int32_t valueCapacity = kReaderBufferCapacity;
  library.MTMICRGetValue(reply, "DeviceCapabilities", "MachineType", machineType, valueCapacity);

  std::erase(machineType, '\0');
  machineType.erase(machineType.find_last_not_of(' ') + 1);
  return machineType;
}

}  // namespace orvex
