# The interface for hosts that bind early: include/Orvex.idl and the C and C++
# header include/Orvex.h in the build tree, made from control/LumivoxInterface.def
# by cmake/WriteIdl.cmake; the release package ships both in its include folder.
# Needs the C preprocessor of the tool chain, widl and iconv.
find_program(ORVEX_ICONV iconv)
if(NOT ORVEX_WIDL OR NOT ORVEX_ICONV)
  message(STATUS "No widl or iconv: include/Orvex.idl and include/Orvex.h are not made")
  return()
endif()

set(ORVEX_HOST_INCLUDE_DIR ${CMAKE_BINARY_DIR}/include)
set(_outputs ${ORVEX_HOST_INCLUDE_DIR}/Orvex.idl ${ORVEX_HOST_INCLUDE_DIR}/Orvex.h)
add_custom_command(OUTPUT ${_outputs}
  COMMAND ${CMAKE_COMMAND} -DCC=${CMAKE_C_COMPILER} -DWIDL=${ORVEX_WIDL} -DICONV=${ORVEX_ICONV}
          -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DOUT=${ORVEX_HOST_INCLUDE_DIR}
          -P ${CMAKE_SOURCE_DIR}/cmake/WriteIdl.cmake
  DEPENDS
    ${CMAKE_SOURCE_DIR}/cmake/WriteIdl.cmake
    ${CMAKE_SOURCE_DIR}/automation/Orvex.idl
    ${CMAKE_SOURCE_DIR}/control/LumivoxInterface.def
    ${CMAKE_SOURCE_DIR}/win/ControlTypes.h
    ${CMAKE_SOURCE_DIR}/cmake/idl/oaidl.idl
    ${CMAKE_SOURCE_DIR}/cmake/idl/ocidl.idl
  COMMENT "Writing include/Orvex.idl and include/Orvex.h"
  VERBATIM)
add_custom_target(orvex_host_include ALL DEPENDS ${_outputs})
