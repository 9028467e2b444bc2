# The release package Orvex-<version>.zip, made by CPack (ZIP) from two build
# trees: the 32-bit tree gives x86/ and the files beside it, the 64-bit tree
# named by ORVEX_X64_BUILD_DIR gives x64/Orvex.OCX. In the 32-bit tree,
# "cpack" (or "bash scripts/build.sh package") writes it into package/ there.

# The identifiers the scripts name, in registry form, read from the row of the
# interface's definition that names them.
function(orvex_guid out name)
  file(STRINGS ${CMAKE_SOURCE_DIR}/control/LumivoxInterface.def _row REGEX "^ORVEX_[A-Z]+\\(${name}, ")
  if(NOT _row MATCHES "^ORVEX_[A-Z]+\\(${name}, ([0-9A-F-]+),")
    message(FATAL_ERROR "No GUID of ${name} in control/LumivoxInterface.def")
  endif()
  set(${out} "{${CMAKE_MATCH_1}}" PARENT_SCOPE)
endfunction()

# CPack installs what is built and builds nothing itself (its preinstall step
# would otherwise build every target of both trees, tests included):
# scripts/build.sh builds the package's targets first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# The integrators' reference page and the DISPID header, written from the
# interface's definition, the notes of package/reference and its facts. Every
# Windows tree writes them, so that a member without notes in either language
# fails the build wherever the control is built.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(ORVEX_REFERENCE_HTML ${CMAKE_BINARY_DIR}/package-files/reference.html)
set(ORVEX_DISPIDS_H ${CMAKE_BINARY_DIR}/include/OrvexDispids.h)
add_custom_command(OUTPUT ${ORVEX_REFERENCE_HTML} ${ORVEX_DISPIDS_H}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/package-files ${CMAKE_BINARY_DIR}/include
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make-reference.py
          --html ${ORVEX_REFERENCE_HTML} --header ${ORVEX_DISPIDS_H} --version ${PROJECT_VERSION}
  DEPENDS
    ${CMAKE_SOURCE_DIR}/tools/make-reference.py
    ${CMAKE_SOURCE_DIR}/control/LumivoxInterface.def
    ${CMAKE_SOURCE_DIR}/win/ControlTypes.h
    ${CMAKE_CURRENT_LIST_DIR}/reference/notes.zh.txt
    ${CMAKE_CURRENT_LIST_DIR}/reference/notes.en.txt
    ${CMAKE_CURRENT_LIST_DIR}/reference/facts.txt
  COMMENT "Writing reference.html and include/OrvexDispids.h"
  VERBATIM)
add_custom_target(orvex_reference ALL DEPENDS ${ORVEX_REFERENCE_HTML} ${ORVEX_DISPIDS_H})

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  install(TARGETS Orvex RUNTIME DESTINATION x64 COMPONENT x64)
  return()
endif()

# The modules only (their import libraries stay out), stripped of debug information.
install(TARGETS Orvex Orvex_Demo RUNTIME DESTINATION x86 COMPONENT x86)
# The demo shows the logo.jpg of its own folder.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/logo.jpg DESTINATION x86 COMPONENT x86)

# Texts for Windows: CRLF line ends; the scripts get the identifiers filled in.
orvex_guid(ORVEX_CLSID Lumivox)
orvex_guid(ORVEX_LIBID Orvex)
orvex_guid(ORVEX_IID ILumivox)
orvex_guid(ORVEX_DIID ILumivoxEvents)
set(_texts README.txt register.cmd unregister.cmd samples/play.vbs samples/play.js samples/early_bound.cpp)
foreach(_text IN LISTS _texts)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${_text} ${CMAKE_BINARY_DIR}/package-files/${_text}
                 @ONLY NEWLINE_STYLE CRLF)
endforeach()
install(FILES
  ${CMAKE_BINARY_DIR}/package-files/README.txt
  ${ORVEX_REFERENCE_HTML}
  ${CMAKE_BINARY_DIR}/package-files/register.cmd
  ${CMAKE_BINARY_DIR}/package-files/unregister.cmd
  ${CMAKE_CURRENT_LIST_DIR}/logo.jpg
  DESTINATION . COMPONENT common)
install(FILES
  ${CMAKE_BINARY_DIR}/package-files/samples/play.vbs
  ${CMAKE_BINARY_DIR}/package-files/samples/play.js
  ${CMAKE_BINARY_DIR}/package-files/samples/early_bound.cpp
  DESTINATION samples COMPONENT common)
# The IDL and the C and C++ header for hosts that bind early (cmake/idl.cmake),
# and the DISPID constants beside them.
if(TARGET orvex_host_include)
  install(FILES ${ORVEX_HOST_INCLUDE_DIR}/Orvex.idl ${ORVEX_HOST_INCLUDE_DIR}/Orvex.h
          DESTINATION include COMPONENT common)
endif()
install(FILES ${ORVEX_DISPIDS_H} DESTINATION include COMPONENT common)

set(ORVEX_X64_BUILD_DIR ${CMAKE_BINARY_DIR}/../win64 CACHE PATH
    "64-bit build tree whose Orvex.OCX goes into the package's x64 folder")
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Orvex)
set(CPACK_PACKAGE_VENDOR Orvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Orvex-${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_INSTALL_CMAKE_PROJECTS
  "${CMAKE_BINARY_DIR};Orvex;x86;/"
  "${CMAKE_BINARY_DIR};Orvex;common;/"
  "${ORVEX_X64_BUILD_DIR};Orvex;x64;/")
# SHA256SUMS is written over the staged files, just before they are zipped;
# the zip is then written again with fixed order, times and modes, so that
# one commit gives the same bytes (WriteZip.cmake).
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/WriteChecksums.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/WriteZip.cmake)
set(CPACK_ORVEX_SOURCE_DIR ${CMAKE_SOURCE_DIR})
include(CPack)
