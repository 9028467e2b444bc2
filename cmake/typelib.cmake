# The type library of Orvex.OCX, resource TYPELIB 1 (automation/Orvex.rc).
#
# orvex_typelib_gen writes it at build time through ICreateTypeLib2, from the
# interface's definition (control/LumivoxInterface.def). It is a
# Windows program: a cross build runs it through CMAKE_CROSSCOMPILING_EMULATOR
# (scripts/wine-run.sh, which also gives it the code page 936 its Chinese help
# strings need); a native Windows build runs it directly. It writes
#   Orvex.tlb        for this tree's own target system, embedded in the OCX;
#   Orvex-win32.tlb  in a 64-bit tree only: the library for the 32-bit OCX.
# ORVEX_TYPELIB names a ready library to embed instead of generating one: a
# 32-bit tree on a host that cannot run 32-bit programs takes the 64-bit
# tree's Orvex-win32.tlb (scripts/build.sh arranges this).
#
# widl 7.0 (Debian 12) compiles the IDL made from the same definition
# (cmake/idl.cmake) but writes another library than this one: it adds each
# enumeration where ILumivox first uses it (type infos 1-4 instead of 3-6),
# types the enumerators VT_INT instead of VT_I4, refuses a version on the
# dispinterface ILumivoxEvents (0.0) and lists none of IDispatch's functions
# in it, adds custom data (its version and the time it ran), and refers to
# stdole2's IFontDisp alias, which has no GUID in Wine's stdole2, instead of
# the dispinterface Font.
set(ORVEX_TYPELIB "" CACHE FILEPATH "Type library to embed in Orvex.OCX instead of generating one")

add_executable(orvex_typelib_gen automation/TypeLibGen.cpp automation/TypeLibRecords.cpp)
target_link_libraries(orvex_typelib_gen PRIVATE orvex_winkit oleaut32 ole32 uuid shell32)
target_include_directories(orvex_typelib_gen PRIVATE ${CMAKE_SOURCE_DIR})

# A path as the generator sees it: under Wine the host's files are on drive Z:.
function(orvex_target_path out path)
  if(CMAKE_CROSSCOMPILING AND CMAKE_HOST_UNIX)
    set(${out} "Z:${path}" PARENT_SCOPE)
  else()
    set(${out} "${path}" PARENT_SCOPE)
  endif()
endfunction()

if(ORVEX_TYPELIB)
  set(_typelib ${ORVEX_TYPELIB})
else()
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(_syskind win64)
  else()
    set(_syskind win32)
  endif()
  set(_typelib ${CMAKE_BINARY_DIR}/Orvex.tlb)
  orvex_target_path(_out ${_typelib})
  set(_outputs ${_typelib})
  set(_commands COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:orvex_typelib_gen> ${_out} ${_syskind})

  if(_syskind STREQUAL win64)
    # A 32-bit library is laid out against the 32-bit stdole2 (IDispatch's
    # vtable counts 4-byte pointers there); Wine's i386 half ships one.
    find_file(ORVEX_STDOLE2_WIN32 stdole2.tlb
      PATHS /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows
            /usr/lib32/wine/i386-windows "$ENV{SystemRoot}/SysWOW64"
      NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
      DOC "The 32-bit OLE Automation type library (stdole2.tlb)")
    if(ORVEX_STDOLE2_WIN32)
      set(ORVEX_WIN32_TYPELIB ${CMAKE_BINARY_DIR}/Orvex-win32.tlb)
      orvex_target_path(_out32 ${ORVEX_WIN32_TYPELIB})
      orvex_target_path(_stdole32 ${ORVEX_STDOLE2_WIN32})
      list(APPEND _outputs ${ORVEX_WIN32_TYPELIB})
      list(APPEND _commands
        COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:orvex_typelib_gen> ${_out32} win32 ${_stdole32})
    else()
      message(STATUS "No 32-bit stdole2.tlb found: Orvex-win32.tlb is not made")
    endif()
  endif()

  add_custom_command(OUTPUT ${_outputs}
    ${_commands}
    DEPENDS orvex_typelib_gen
    COMMENT "Writing the type library"
    VERBATIM)
  add_custom_target(orvex_typelib ALL DEPENDS ${_outputs})
  add_dependencies(Orvex orvex_typelib)
endif()

target_sources(Orvex PRIVATE automation/Orvex.rc)
set_property(SOURCE automation/Orvex.rc APPEND PROPERTY
  COMPILE_DEFINITIONS "ORVEX_TYPELIB_FILE=\"${_typelib}\"")
if(CMAKE_RC_COMPILER MATCHES "windres")
  # windres hands the definitions to its preprocessor through a shell, which
  # would strip the quotes of the path; with a temporary file it does not.
  set_property(SOURCE automation/Orvex.rc APPEND PROPERTY COMPILE_OPTIONS --use-temp-file)
endif()
set_property(SOURCE automation/Orvex.rc APPEND PROPERTY OBJECT_DEPENDS ${_typelib})
