# Run by CPack once the package's files are staged: writes SHA256SUMS beside
# them, one "<sha256>  <path>" line per file (the format "sha256sum -c" reads),
# paths relative to the package's folder with forward slashes.
file(GLOB_RECURSE _files LIST_DIRECTORIES false RELATIVE "${CPACK_TEMPORARY_INSTALL_DIRECTORY}"
     "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
list(REMOVE_ITEM _files SHA256SUMS)
list(SORT _files)
set(_sums "")
foreach(_file IN LISTS _files)
  file(SHA256 "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/${_file}" _hash)
  string(APPEND _sums "${_hash}  ${_file}\n")
endforeach()
file(WRITE "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/SHA256SUMS" "${_sums}")
