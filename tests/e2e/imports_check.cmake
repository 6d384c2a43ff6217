# Fails unless EXE is a program of the SUBSYSTEM (2, the default: Windows GUI;
# 3: console) and the image FORMAT (pei-i386, the default, or pei-x86-64 for
# the 64-bit test build) whose import table names only DLLs
# that Windows always takes from System32 (its KnownDLLs), plus comctl32, which
# the manifest binds to the side-by-side version 6. Anything else could be
# planted beside the program in a download folder and run elevated.
# DLLs named in LAZY must not be imported at all: the program loads them on
# their first use, and a start without them is what keeps it quick.
#   cmake -DEXE=Orvane.exe -DOBJDUMP=i686-w64-mingw32-objdump [-DFORMAT=pei-i386] [-DSUBSYSTEM=2]
#         [-DLAZY=user32.dll;gdi32.dll] -P imports_check.cmake

if(NOT EXE OR NOT EXISTS "${EXE}")
  message(FATAL_ERROR "no executable to check: '${EXE}'")
endif()
if(NOT OBJDUMP)
  set(OBJDUMP i686-w64-mingw32-objdump)
endif()
if(NOT FORMAT)
  set(FORMAT pei-i386)
endif()
if(NOT SUBSYSTEM)
  set(SUBSYSTEM 2)
endif()
if(SUBSYSTEM STREQUAL "2")
  set(subsystem_name "Windows GUI")
elseif(SUBSYSTEM STREQUAL "3")
  set(subsystem_name "console")
else()
  message(FATAL_ERROR "SUBSYSTEM must be 2 (Windows GUI) or 3 (console), not '${SUBSYSTEM}'")
endif()

# objdump translates its headings; read them in English.
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C LANGUAGE=C ${OBJDUMP} -p "${EXE}"
  OUTPUT_VARIABLE dump ERROR_VARIABLE dump_errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p failed (${status}): ${dump_errors}")
endif()

set(failures "")

if(NOT dump MATCHES "file format ${FORMAT}[\r\n]")
  string(APPEND failures "  not a ${FORMAT} image\n")
endif()
string(REGEX MATCH "Subsystem[ \t]+([0-9a-fA-F]+)" _ "${dump}")
if(NOT CMAKE_MATCH_1 STREQUAL "0000000${SUBSYSTEM}")
  string(APPEND failures "  subsystem is '${CMAKE_MATCH_1}', not ${SUBSYSTEM} (${subsystem_name})\n")
endif()

set(allowed kernel32.dll user32.dll gdi32.dll advapi32.dll ole32.dll oleaut32.dll shell32.dll msvcrt.dll
  comctl32.dll)
string(REGEX MATCHALL "DLL Name: [^\r\n]+" entries "${dump}")
if(NOT entries)
  string(APPEND failures "  no import table found\n")
endif()
set(names "")
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "^DLL Name: *" "" name "${entry}")
  string(STRIP "${name}" name)
  string(TOLOWER "${name}" lower)
  list(APPEND names "${name}")
  list(FIND allowed "${lower}" index)
  list(FIND LAZY "${lower}" lazy)
  if(NOT lazy EQUAL -1)
    string(APPEND failures "  imports ${name} at its start, which it should load on its first use\n")
  elseif(index EQUAL -1)
    if(lower MATCHES "^(libgcc|libstdc|libwinpthread)")
      string(APPEND failures "  needs the MinGW run-time DLL ${name}: link statically\n")
    else()
      string(APPEND failures "  imports ${name}, which is not always taken from System32\n")
    endif()
  endif()
endforeach()

list(REMOVE_DUPLICATES names)
message(STATUS "${EXE} imports: ${names}")
if(failures)
  message(FATAL_ERROR "import check of ${EXE} failed:\n${failures}")
endif()
