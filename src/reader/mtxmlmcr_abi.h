#pragma once

// The C calls of the reader library mtxmlmcr.dll, as the program binds them and as the project's
// virtual reader exports them. Every call returns a 32-bit status (0 = success) and uses the
// vendor's calling convention (__stdcall; on x64 the platform's one convention). Texts are 8-bit
// and NUL-terminated; an output text or byte buffer comes with its capacity by reference.

#include <cstdint>

#ifdef _WIN32
#define MTXMLMCR_CALL __stdcall
#else
#define MTXMLMCR_CALL
#endif

#ifdef MTXMLMCR_EXPORTS
#define MTXMLMCR_API __declspec(dllexport)
#else
#define MTXMLMCR_API
#endif

extern "C" {

MTXMLMCR_API int32_t MTXMLMCR_CALL MTMICRSetTimeout(int32_t timeout);
MTXMLMCR_API int32_t MTXMLMCR_CALL MTMICROpenDevice(const char* deviceName);
MTXMLMCR_API int32_t MTXMLMCR_CALL MTMICRCloseDevice(const char* deviceName);
MTXMLMCR_API int32_t MTXMLMCR_CALL MTMICRQueryInfo(const char* deviceName, const char* query, char* reply,
                                                   int32_t* capacity);
MTXMLMCR_API int32_t MTXMLMCR_CALL MTMICRSetValue(char* options, const char* section, const char* key,
                                                  const char* value, int32_t* capacity);
MTXMLMCR_API int32_t MTXMLMCR_CALL MTMICRSetIndexValue(char* options, const char* section, const char* key,
                                                       int32_t index, const char* value, int32_t* capacity);
MTXMLMCR_API int32_t MTXMLMCR_CALL MTMICRProcessCheck(const char* deviceName, const char* options, char* reply,
                                                      int32_t* capacity);
MTXMLMCR_API int32_t MTXMLMCR_CALL MTMICRGetValue(const char* reply, const char* section, const char* key, char* value,
                                                  int32_t* capacity);
MTXMLMCR_API int32_t MTXMLMCR_CALL MTMICRGetIndexValue(const char* reply, const char* section, const char* key,
                                                       int32_t index, char* value, int32_t* capacity);
MTXMLMCR_API int32_t MTXMLMCR_CALL MTMICRGetImage(const char* deviceName, const char* imageAddress,
                                                  unsigned char* buffer, int32_t* byteCount);

}  // extern "C"

namespace orvex {

// The ten entry points of one loaded library, resolved by name.
struct MtxmlmcrFunctions {
  decltype(&MTMICRSetTimeout) setTimeout = nullptr;
  decltype(&MTMICROpenDevice) openDevice = nullptr;
  decltype(&MTMICRCloseDevice) closeDevice = nullptr;
  decltype(&MTMICRQueryInfo) queryInfo = nullptr;
  decltype(&MTMICRSetValue) setValue = nullptr;
  decltype(&MTMICRSetIndexValue) setIndexValue = nullptr;
  decltype(&MTMICRProcessCheck) processCheck = nullptr;
  decltype(&MTMICRGetValue) getValue = nullptr;
  decltype(&MTMICRGetIndexValue) getIndexValue = nullptr;
  decltype(&MTMICRGetImage) getImage = nullptr;
};

}  // namespace orvex
