# Fails unless EXE carries the version resource that Explorer, inventory tools
# and installers read: file and product version VERSION (project() in
# CMakeLists.txt), company, product name, a description and NAME as its
# original file name. Reads the resource with windres; needs no Wine.
#   cmake -DEXE=Orvane.exe -DWINDRES=i686-w64-mingw32-windres -DVERSION=1.0.0 -DNAME=Orvane.exe -P version_check.cmake

if(NOT EXE OR NOT EXISTS "${EXE}")
  message(FATAL_ERROR "no executable to check: '${EXE}'")
endif()
execute_process(COMMAND ${WINDRES} -i "${EXE}" -O rc
  OUTPUT_VARIABLE rc ERROR_VARIABLE rc_errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${WINDRES} could not read the resources of ${EXE} (${status}): ${rc_errors}")
endif()

string(REPLACE "." ", " numbers "${VERSION}")
set(expected
  "FILEVERSION ${numbers}, 0"
  "PRODUCTVERSION ${numbers}, 0"
  "VALUE \"FileVersion\", \"${VERSION}\""
  "VALUE \"ProductVersion\", \"${VERSION}\""
  "VALUE \"OriginalFilename\", \"${NAME}\""
  "VALUE \"CompanyName\", \"Haldenmark\""
  "VALUE \"ProductName\", \"Orvane\""
  "VALUE \"FileDescription\", \"Orvane "
  "VALUE \"LegalCopyright\", \"Copyright (C) Haldenmark\"")
set(failures "")
foreach(text IN LISTS expected)
  string(FIND "${rc}" "${text}" at)
  if(at EQUAL -1)
    string(APPEND failures "  missing: ${text}\n")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "${EXE}: the version resource is not as shipped:\n${failures}")
endif()
message(STATUS "${EXE}: version ${VERSION}, ${NAME}")
