#include "config/sample_configuration.h"

#include <filesystem>
#include <system_error>

#include "base/error.h"
#include "base/file_io.h"
#include "base/trace.h"

namespace orvex {

void CheckForINI(std::string_view iniPath) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(ToFsPath(iniPath), error);
  if (status.type() != std::filesystem::file_type::not_found) {
    return;
  }
  const bool written = RunSkippingError([&] {
    if (!WriteFileBytes(iniPath, SampleConfigurationBytes())) {
      throw Error(kErrPathFileAccess, "Path/File access error");
    }
  });
  if (!written) {
    WriteDebugLog("CheckForINI: the sample configuration could not be written to " + std::string(iniPath));
  }
}

}  // namespace orvex
