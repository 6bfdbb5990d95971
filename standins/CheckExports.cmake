# Fails the build when a stand-in library's export table differs from the
# product's .def file: NONAME entries by ordinal only, the others by their
# undecorated names, nothing else.
#   cmake -DOBJDUMP=<objdump> -DDLL=<dll> -DDEF=<def> -P CheckExports.cmake

cmake_policy(VERSION 3.25)

execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed")
endif()

set(count 0)
set(want_ordinals)
set(want_names)
file(STRINGS ${DEF} lines)
foreach(line IN LISTS lines)
  if(line MATCHES "^[ \t]+([A-Za-z_][A-Za-z0-9_]*)(@[0-9]+)?([ \t]+@([0-9]+))?([ \t]+NONAME)?[ \t]*$")
    math(EXPR count "${count} + 1")
    if(CMAKE_MATCH_5)
      list(APPEND want_ordinals ${CMAKE_MATCH_4})
    else()
      list(APPEND want_names ${CMAKE_MATCH_1})
    endif()
  endif()
endforeach()

set(ordinals)
string(REGEX MATCHALL "\\+base\\[ *[0-9]+\\] +[0-9a-fA-F]+ Export RVA" entries "${dump}")
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "\\+base\\[ *([0-9]+)\\].*" "\\1" ordinal "${entry}")
  list(APPEND ordinals ${ordinal})
endforeach()

# Name table lines look like "\t[   0] LanguageType"; brackets would upset
# CMake's list splitting, so they go before the text becomes a list.
set(names)
string(FIND "${dump}" "[Ordinal/Name Pointer] Table\n" at)
if(at GREATER -1)
  string(SUBSTRING "${dump}" ${at} -1 tail)
  string(REGEX MATCH "Table\n(\t\\[ *[0-9]+\\] [^\n]+\n)*" block "${tail}")
  string(REGEX REPLACE "^Table\n" "" block "${block}")
  string(REGEX REPLACE "\t\\[ *[0-9]+\\] ([^\n]+)\n" "\\1;" names "${block}")
  list(REMOVE_ITEM names "")
endif()

list(LENGTH ordinals have_count)
list(SORT want_names)
list(SORT names)
list(SORT want_ordinals COMPARE NATURAL)
list(SORT ordinals COMPARE NATURAL)
set(ok TRUE)
if(NOT have_count EQUAL count OR NOT "${names}" STREQUAL "${want_names}")
  set(ok FALSE)
endif()
if(NOT want_names AND NOT "${ordinals}" STREQUAL "${want_ordinals}")
  set(ok FALSE)
endif()
if(NOT ok)
  message(FATAL_ERROR "${DLL}: exports ordinals [${ordinals}] names [${names}]; "
                      "${DEF} declares ${count} entries, NONAME ordinals [${want_ordinals}] names [${want_names}]")
endif()
