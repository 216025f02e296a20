# cmake -DOBJDUMP=<objdump> -DLIBRARY=<dll> -P check_exports.cmake
# Fails unless the library's export table names exactly the reader library's ten calls, undecorated.
set(expected
    MTMICRCloseDevice
    MTMICRGetImage
    MTMICRGetIndexValue
    MTMICRGetValue
    MTMICROpenDevice
    MTMICRProcessCheck
    MTMICRQueryInfo
    MTMICRSetIndexValue
    MTMICRSetTimeout
    MTMICRSetValue)

execute_process(COMMAND "${OBJDUMP}" -p "${LIBRARY}" OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${LIBRARY} failed: ${result}")
endif()

# The export names follow the "[Ordinal/Name Pointer] Table" heading, one "[n] name" per line.
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" table)
if(table EQUAL -1)
  message(FATAL_ERROR "${LIBRARY} exports nothing")
endif()
string(SUBSTRING "${dump}" ${table} -1 dump)
string(REGEX MATCHALL "\n[\t ]+\\[ *[0-9]+\\] [^\n]+" lines "${dump}")
set(exported)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^\n[\t ]+\\[ *[0-9]+\\] " "" name "${line}")
  list(APPEND exported "${name}")
endforeach()
list(SORT exported)

if(NOT exported STREQUAL expected)
  message(FATAL_ERROR "${LIBRARY} exports [${exported}], expected exactly [${expected}]")
endif()
