# Shared helpers for the project's targets.
#
# Files ending in _win32.cpp hold Win32 calls and are built for Windows only;
# files ending in _posix.cpp are their counterparts for the native build.

include(GoogleTest)

add_library(orvex_warnings INTERFACE)
target_compile_options(orvex_warnings INTERFACE -Wall -Wextra -Wpedantic -Werror)
# GCC 12 reports overlaps that cannot happen in std::string concatenations of optimised builds
# (GCC bug 105329); its -Wrestrict is therefore off.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(orvex_warnings INTERFACE -Wno-restrict)
endif()
if(WIN32)
  target_compile_definitions(orvex_warnings INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

# Sources of one folder for the platform being built.
function(orvex_platform_sources out_var folder)
  file(GLOB sources CONFIGURE_DEPENDS "${folder}/*.cpp")
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win32\\.cpp$")
  endif()
  set(${out_var} ${sources} PARENT_SCOPE)
endfunction()

# orvex_subsystem(<name> [DEPENDS <libs>...] [WIN32_LIBS <system libs>...])
# Builds src/<name> as the static library orvex_<name>.
function(orvex_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;WIN32_LIBS" ${ARGN})
  orvex_platform_sources(sources "${CMAKE_CURRENT_SOURCE_DIR}/${name}")
  if(NOT sources)
    return()
  endif()
  add_library(orvex_${name} STATIC ${sources})
  target_include_directories(orvex_${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(orvex_${name} PUBLIC ${ARG_DEPENDS} PRIVATE orvex_warnings)
  if(WIN32 AND ARG_WIN32_LIBS)
    target_link_libraries(orvex_${name} PUBLIC ${ARG_WIN32_LIBS})
  endif()
endfunction()

# orvex_test_suite(<name> <folder> LIBS <libs>... [SOURCES <files>...] [LABELS <label>] [DESKTOP])
# One GoogleTest executable from every test source in <folder> (or from SOURCES alone), each of
# its cases registered as a ctest test of its own when ctest starts (the Windows builds list them
# under Wine, so a build that cannot run them still configures and builds). DESKTOP: the cases
# use the desktop's foreground, keyboard and windows, and run one at a time among all such cases.
function(orvex_test_suite name folder)
  cmake_parse_arguments(ARG "DESKTOP" "LABELS" "LIBS;SOURCES" ${ARGN})
  if(ARG_SOURCES)
    set(sources ${ARG_SOURCES})
  else()
    orvex_platform_sources(sources "${folder}")
  endif()
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} orvex_test_support GTest::gtest_main GTest::gmock orvex_warnings)
  # One label: the suite's name unless LABELS gives another (a list would not survive the
  # discovery's property pairs).
  set(label ${name})
  if(ARG_LABELS)
    set(label ${ARG_LABELS})
  endif()
  set(properties TIMEOUT 300 LABELS ${label})
  if(ARG_DESKTOP)
    list(APPEND properties RESOURCE_LOCK desktop)
  endif()
  # Every case runs in the tests folder of the build tree, where tests/data is copied.
  gtest_discover_tests(${name} EXTRA_ARGS --gtest_brief=1 WORKING_DIRECTORY "${PROJECT_BINARY_DIR}/tests"
                       DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 PROPERTIES ${properties})
endfunction()
