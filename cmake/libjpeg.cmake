# libjpeg for the Windows target, built once into the build tree from Debian's
# libjpeg-turbo source package and linked statically. Defines orvex_jpeg.
#
# ORVEX_LIBJPEG_TARBALL may name the upstream source archive; otherwise the
# archive is fetched with `apt-get source --download-only` (needs a deb-src
# entry, which scripts/install-packages.sh adds). Without apt (a native
# Windows tool chain) an installed libjpeg is looked for instead.
include(ExternalProject)

set(ORVEX_LIBJPEG_TARBALL "" CACHE FILEPATH "libjpeg-turbo source archive")
set(_jpeg_dir ${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo)

if(NOT ORVEX_LIBJPEG_TARBALL)
  file(GLOB _found ${_jpeg_dir}/libjpeg-turbo_*.orig.tar.gz)
  if(NOT _found)
    find_program(ORVEX_APT_GET apt-get)
    if(ORVEX_APT_GET)
      file(MAKE_DIRECTORY ${_jpeg_dir})
      message(STATUS "Fetching the libjpeg-turbo source package")
      execute_process(COMMAND ${ORVEX_APT_GET} source --download-only -q libjpeg-turbo
                      WORKING_DIRECTORY ${_jpeg_dir} RESULT_VARIABLE _rc)
      file(GLOB _found ${_jpeg_dir}/libjpeg-turbo_*.orig.tar.gz)
    endif()
  endif()
  if(_found)
    list(GET _found 0 _tarball)
    set(ORVEX_LIBJPEG_TARBALL ${_tarball} CACHE FILEPATH "libjpeg-turbo source archive" FORCE)
  endif()
endif()

if(ORVEX_LIBJPEG_TARBALL)
  set(_jpeg_install ${_jpeg_dir}/install)
  set(_jpeg_args
      -DCMAKE_INSTALL_PREFIX=${_jpeg_install}
      -DCMAKE_INSTALL_LIBDIR=${_jpeg_install}/lib
      -DCMAKE_BUILD_TYPE=Release
      -DENABLE_SHARED=OFF
      -DENABLE_STATIC=ON
      -DWITH_TURBOJPEG=OFF
      -DWITH_SIMD=OFF)
  if(CMAKE_TOOLCHAIN_FILE)
    list(APPEND _jpeg_args -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE})
  endif()
  ExternalProject_Add(libjpeg_turbo
    URL ${ORVEX_LIBJPEG_TARBALL}
    PREFIX ${_jpeg_dir}
    CMAKE_ARGS ${_jpeg_args}
    BUILD_BYPRODUCTS ${_jpeg_install}/lib/libjpeg.a
    UPDATE_COMMAND ""
    DOWNLOAD_EXTRACT_TIMESTAMP TRUE)
  file(MAKE_DIRECTORY ${_jpeg_install}/include)
  add_library(orvex_jpeg STATIC IMPORTED GLOBAL)
  set_target_properties(orvex_jpeg PROPERTIES
    IMPORTED_LOCATION ${_jpeg_install}/lib/libjpeg.a
    INTERFACE_INCLUDE_DIRECTORIES ${_jpeg_install}/include)
  add_dependencies(orvex_jpeg libjpeg_turbo)
else()
  find_package(JPEG REQUIRED)
  add_library(orvex_jpeg INTERFACE)
  target_link_libraries(orvex_jpeg INTERFACE JPEG::JPEG)
endif()
