# Fails unless MODULE is a PE32+ DLL whose export table names exactly the six functions the host
# looks up, undecorated, and which needs none of MinGW's runtime DLLs (a host does not ship
# them). Run with -DOBJDUMP=<x86_64-w64-mingw32-objdump> -DMODULE=<file>.
set(expected LibClassDesc LibDescription LibInitialize LibNumberClasses LibShutdown LibVersion)

execute_process(COMMAND ${OBJDUMP} -p ${MODULE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} cannot read ${MODULE}")
endif()
if(NOT dump MATCHES "file format pei-x86-64" OR NOT dump MATCHES "Magic[\t ]+020b")
  message(FATAL_ERROR "${MODULE} is not a 64-bit PE32+ image")
endif()
string(REGEX MATCH "Characteristics 0x([0-9a-fA-F]+)" _ "${dump}")
math(EXPR is_dll "0x${CMAKE_MATCH_1} & 0x2000")
if(NOT is_dll)
  message(FATAL_ERROR "${MODULE} is not a DLL")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
foreach(import ${imports})
  if(import MATCHES "lib(stdc\\+\\+|gcc_s|winpthread)")
    message(FATAL_ERROR "${MODULE} needs a MinGW runtime DLL: ${import}")
  endif()
endforeach()

# The names follow "[Ordinal/Name Pointer] Table", one "[   n] Name" row each, up to the next
# empty line.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)*" table "${dump}")
string(REGEX MATCHALL "\\[[ 0-9]+\\][\t ]+[^\n]+" rows "${table}")
set(names)
foreach(row ${rows})
  string(REGEX REPLACE "^\\[[ 0-9]+\\][\t ]+" "" name "${row}")
  string(STRIP "${name}" name)
  list(APPEND names ${name})
endforeach()
list(SORT names)

set(extra ${names})
list(REMOVE_ITEM extra ${expected})
set(missing ${expected})
if(names)
  list(REMOVE_ITEM missing ${names})
endif()
if(extra OR missing)
  message(FATAL_ERROR "export table of ${MODULE}:\n  extra: ${extra}\n  missing: ${missing}\n"
                      "  found: ${names}")
endif()
message(STATUS "exports of ${MODULE}: ${names}")
