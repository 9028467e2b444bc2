# Run by CPack once it has made the zip: writes the zip again from the staged
# files so that one commit gives the same bytes wherever it is packed. CPack's
# own zip takes its order from the file system and stores each file's owner
# and its times on this machine. Here the entries go in byte order of their
# paths (a folder before what it holds), and every one has the commit's time (SOURCE_DATE_EPOCH, else the
# source's last commit, else 2000-01-01), mode 0644 (files) or 0755 (folders),
# and no extra fields (Info-ZIP's zip -X, run in UTC).
find_program(_zip zip)
find_program(_touch touch)
if(NOT _zip OR NOT _touch)
  message(FATAL_ERROR "WriteZip.cmake needs zip and touch")
endif()

set(_epoch "$ENV{SOURCE_DATE_EPOCH}")
if(NOT _epoch)
  execute_process(COMMAND git -C "${CPACK_ORVEX_SOURCE_DIR}" log -1 --format=%ct
                  OUTPUT_VARIABLE _epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT _epoch MATCHES "^[0-9]+$")
  set(_epoch 946684800)
endif()

# The staged folder is the zip's one top-level folder.
get_filename_component(_top "${CPACK_TEMPORARY_DIRECTORY}" NAME)
get_filename_component(_base "${CPACK_TEMPORARY_DIRECTORY}" DIRECTORY)
file(GLOB_RECURSE _entries LIST_DIRECTORIES true RELATIVE "${_base}" "${CPACK_TEMPORARY_DIRECTORY}/*")
list(APPEND _entries "${_top}")
list(SORT _entries)
set(_list "")
foreach(_entry IN LISTS _entries)
  if(IS_DIRECTORY "${_base}/${_entry}")
    file(CHMOD "${_base}/${_entry}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
         GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    string(APPEND _list "${_entry}/\n")
  else()
    file(CHMOD "${_base}/${_entry}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    string(APPEND _list "${_entry}\n")
  endif()
  execute_process(COMMAND ${_touch} -h -d "@${_epoch}" "${_base}/${_entry}" RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "WriteZip.cmake: cannot set the time of ${_entry}")
  endif()
endforeach()
file(WRITE "${_base}/zip-entries.txt" "${_list}")

foreach(_package IN LISTS CPACK_PACKAGE_FILES)
  file(REMOVE "${_package}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${_zip} -X -q "${_package}" -@
                  WORKING_DIRECTORY "${_base}" INPUT_FILE "${_base}/zip-entries.txt" RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "WriteZip.cmake: zip failed (${_rc}) on ${_package}")
  endif()
endforeach()
