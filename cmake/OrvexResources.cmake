# The files built into the program: src/resources/OrvexExcella.ini (the sample configuration).
#
# Windows: the resource "CUSTOM"/"INIFILE", compiled from sample_configuration.rc into the object
# library orvex_resources. Its object file goes on the link line of every executable that links the
# given library: a resource inside a static library would be dropped by the linker, since nothing
# refers to it by symbol.
# Native: a generated source that holds the file's bytes as an array, added to the given library.

set(ORVEX_SAMPLE_CONFIGURATION "${PROJECT_SOURCE_DIR}/src/resources/OrvexExcella.ini")

function(orvex_embed_sample_configuration library)
  if(WIN32)
    add_library(orvex_resources OBJECT "${PROJECT_SOURCE_DIR}/src/resources/sample_configuration.rc")
    set_source_files_properties("${PROJECT_SOURCE_DIR}/src/resources/sample_configuration.rc" PROPERTIES
      OBJECT_DEPENDS "${ORVEX_SAMPLE_CONFIGURATION}")
    target_include_directories(orvex_resources PRIVATE "${PROJECT_SOURCE_DIR}/src/resources")
    target_link_libraries(${library} INTERFACE "$<TARGET_OBJECTS:orvex_resources>")
    add_dependencies(${library} orvex_resources)
  else()
    set(generated "${CMAKE_CURRENT_BINARY_DIR}/generated/sample_configuration_bytes.cpp")
    file(READ "${ORVEX_SAMPLE_CONFIGURATION}" hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
    string(REPEAT "'\\\\x[0-9a-f][0-9a-f]'," 16 line)
    string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
    file(CONFIGURE OUTPUT "${generated}" CONTENT [[
// Generated at configure time from src/resources/OrvexExcella.ini: the sample configuration's bytes.
#include "config/sample_configuration.h"

namespace orvex {
namespace {

constexpr char kSampleConfiguration[] = {
    @bytes@};

}  // namespace

std::string_view SampleConfigurationBytes() { return {kSampleConfiguration, sizeof kSampleConfiguration}; }

}  // namespace orvex
]] @ONLY)
    target_sources(${library} PRIVATE "${generated}")
    # A change of the file configures again, which regenerates the array.
    set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${ORVEX_SAMPLE_CONFIGURATION}")
  endif()
endfunction()

# Builds the program's application manifest into a Windows executable (src/resources/manifest.rc):
# the helper and test programs that show the program's windows show them as the program does, at
# the monitor's DPI and with Common Controls 6.
function(orvex_embed_manifest target)
  set(script "${PROJECT_SOURCE_DIR}/src/resources/manifest.rc")
  target_sources(${target} PRIVATE "${script}")
  set_source_files_properties("${script}" PROPERTIES OBJECT_DEPENDS
                              "${PROJECT_SOURCE_DIR}/src/resources/OrvexExcella.manifest")
endfunction()
