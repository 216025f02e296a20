#include <windows.h>

#include "base/error.h"
#include "config/sample_configuration.h"

namespace orvex {

std::string_view SampleConfigurationBytes() {
  // A resource of the executable stays mapped for the life of the process.
  const HRSRC resource = FindResourceW(nullptr, L"INIFILE", L"CUSTOM");
  const HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) {
    throw Error(kErrResourceNotFound, "Resource with identifier INIFILE not found");
  }
  return std::string_view(static_cast<const char*>(bytes), SizeofResource(nullptr, resource));
}

}  // namespace orvex
