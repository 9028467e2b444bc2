# The interface for hosts that bind early: include/Orvex.idl and the C and C++
# header include/Orvex.h in the build tree; the release package ships both in
# its include folder. orvex_idl_gen (automation/IdlGen.cpp) writes the IDL from
# the rows of control/LumivoxInterface.def, iconv stores it in code page 936,
# and widl compiles it into the header. orvex_idl_gen runs on the build
# machine: a cross build compiles it with that machine's C++ compiler.
find_program(ORVEX_ICONV iconv)
if(CMAKE_CROSSCOMPILING)
  find_program(ORVEX_HOST_CXX NAMES c++ g++ clang++ DOC "The build machine's C++ compiler (for orvex_idl_gen)")
endif()
if(NOT ORVEX_WIDL OR NOT ORVEX_ICONV OR (CMAKE_CROSSCOMPILING AND NOT ORVEX_HOST_CXX))
  message(STATUS "No widl, iconv or build machine's C++ compiler: include/Orvex.idl and include/Orvex.h are not made")
  return()
endif()

if(CMAKE_CROSSCOMPILING)
  set(_idl_gen ${CMAKE_BINARY_DIR}/orvex_idl_gen)
  add_custom_command(OUTPUT ${_idl_gen}
    COMMAND ${ORVEX_HOST_CXX} -std=c++17 -O1 -I${CMAKE_SOURCE_DIR}
            -o ${_idl_gen} ${CMAKE_SOURCE_DIR}/automation/IdlGen.cpp
    DEPENDS
      ${CMAKE_SOURCE_DIR}/automation/IdlGen.cpp
      ${CMAKE_SOURCE_DIR}/automation/InterfaceRows.h
      ${CMAKE_SOURCE_DIR}/control/LumivoxInterface.def
      ${CMAKE_SOURCE_DIR}/win/ControlTypes.h
    COMMENT "Building orvex_idl_gen for the build machine"
    VERBATIM)
else()
  add_executable(orvex_idl_gen automation/IdlGen.cpp)
  target_include_directories(orvex_idl_gen PRIVATE ${CMAKE_SOURCE_DIR})
  set(_idl_gen orvex_idl_gen)
endif()

set(ORVEX_HOST_INCLUDE_DIR ${CMAKE_BINARY_DIR}/include)
file(MAKE_DIRECTORY ${ORVEX_HOST_INCLUDE_DIR})
set(_outputs ${ORVEX_HOST_INCLUDE_DIR}/Orvex.idl ${ORVEX_HOST_INCLUDE_DIR}/Orvex.h)
# Debian's mingw-w64 has the SDK's headers but not its IDL files: widl reads
# the stand-ins in cmake/idl, and the header includes the real headers.
add_custom_command(OUTPUT ${_outputs}
  COMMAND ${_idl_gen} Orvex-utf8.idl
  COMMAND ${ORVEX_ICONV} -f UTF-8 -t GBK -o Orvex.idl Orvex-utf8.idl
  COMMAND ${CMAKE_COMMAND} -E remove Orvex-utf8.idl
  COMMAND ${ORVEX_WIDL} --nostdinc -I${CMAKE_SOURCE_DIR}/cmake/idl -h -o Orvex.h Orvex.idl
  WORKING_DIRECTORY ${ORVEX_HOST_INCLUDE_DIR}
  DEPENDS ${_idl_gen} ${CMAKE_SOURCE_DIR}/cmake/idl/oaidl.idl ${CMAKE_SOURCE_DIR}/cmake/idl/ocidl.idl
  COMMENT "Writing include/Orvex.idl and include/Orvex.h"
  VERBATIM)
add_custom_target(orvex_host_include ALL DEPENDS ${_outputs})
