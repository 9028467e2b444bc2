# Writes include/Orvex.idl and include/Orvex.h for hosts that bind early:
#   cmake -DCC=<C compiler> -DWIDL=<widl> -DICONV=<iconv> -DSOURCE_DIR=<source root>
#         -DOUT=<folder> -P WriteIdl.cmake
# The C preprocessor expands automation/Orvex.idl, which is written over the
# rows of control/LumivoxInterface.def, into a plain IDL file; that is laid
# out one declaration a line, converted to code page 936 (the type library's
# help strings are stored in it, and MIDL reads a file in the system's code
# page) and compiled by widl into the C and C++ header.
foreach(var CC WIDL ICONV SOURCE_DIR OUT)
  if(NOT ${var})
    message(FATAL_ERROR "WriteIdl.cmake needs -D${var}=...")
  endif()
endforeach()

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}): ${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

# widl's own preprocessor cannot expand these rows, the C preprocessor can.
run("Preprocessing automation/Orvex.idl"
    ${CC} -E -P -x c -D__WIDL__ -I${SOURCE_DIR} ${SOURCE_DIR}/automation/Orvex.idl)

# One declaration a line, indented by its braces; no comma after the last
# enumerator; a blank line before each type.
string(REPLACE "; [" ";\n[" text "${run_output}")
string(REPLACE ", }" " }" text "${text}")
string(REPLACE "[ " "[" text "${text}")
string(REPLACE ";" "<semicolon>" text "${text}")
string(REPLACE "\n" ";" lines "${text}")
set(idl "// Orvex.idl: the automation interface of Orvex.OCX, for hosts that bind\n")
string(APPEND idl "// early. Made from the control's definition when it was built; stored in\n")
string(APPEND idl "// code page 936. The type library that hosts load is the one embedded in\n")
string(APPEND idl "// Orvex.OCX.\n")
set(depth 0)
foreach(line IN LISTS lines)
  string(STRIP "${line}" line)
  if(line STREQUAL "")
    continue()
  endif()
  string(REPLACE "<semicolon>" ";" line "${line}")
  if(line MATCHES "^}")
    math(EXPR depth "${depth} - 1")
  endif()
  if(depth LESS 2 AND line MATCHES "^(\\[|typedef|import \")" AND NOT line MATCHES "^import \"ocidl")
    string(APPEND idl "\n")
  endif()
  string(REPEAT "  " ${depth} indent)
  string(APPEND idl "${indent}${line}\n")
  string(REGEX REPLACE "[^{]" "" opened "${line}")
  string(REGEX REPLACE "[^}]" "" closed "${line}")
  string(LENGTH "${opened}" opened)
  string(LENGTH "${closed}" closed)
  if(line MATCHES "^}")
    math(EXPR closed "${closed} - 1")
  endif()
  math(EXPR depth "${depth} + ${opened} - ${closed}")
endforeach()

file(MAKE_DIRECTORY ${OUT})
file(WRITE ${OUT}/Orvex-utf8.idl "${idl}")
run("Converting Orvex.idl to code page 936"
    ${ICONV} -f UTF-8 -t GBK -o ${OUT}/Orvex.idl ${OUT}/Orvex-utf8.idl)
file(REMOVE ${OUT}/Orvex-utf8.idl)
# Debian's mingw-w64 has the SDK's headers but not its IDL files: widl reads
# the stand-ins in cmake/idl, and the header includes the real headers.
execute_process(COMMAND ${WIDL} --nostdinc -I${SOURCE_DIR}/cmake/idl -h -o Orvex.h Orvex.idl
                WORKING_DIRECTORY ${OUT} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "widl failed on include/Orvex.idl (${rc}): ${err}")
endif()
