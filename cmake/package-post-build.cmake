# Run by cpack after each package generator (CPACK_POST_BUILD_SCRIPTS), with
# CPACK_PACKAGE_FILES naming the packages it has just written.
#
# CPack writes the entries of a .tar.gz or .zip in the order the file system
# lists them and with the owner of the build; such an archive is written again
# here from its own content, entries sorted by name and stamped with
# SOURCE_DATE_EPOCH (in the .tar.gz owned by root, uid and gid 0; the .zip by
# packaging/reproducible_zip.py, with python3). Then SHA256SUMS, beside the packages,
# lists every package (sha256sum -c SHA256SUMS checks them).
if(NOT CPACK_PACKAGE_FILES)
  return()
endif()

set(tornvel_epoch "$ENV{SOURCE_DATE_EPOCH}")

foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.(tar\\.gz|zip)$" OR tornvel_epoch STREQUAL "")
    continue()
  endif()
  get_filename_component(package_dir "${package}" DIRECTORY)
  set(unpacked "${package_dir}/_tornvel_repack")
  file(REMOVE_RECURSE "${unpacked}")
  file(MAKE_DIRECTORY "${unpacked}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf "${package}"
                  WORKING_DIRECTORY "${unpacked}" COMMAND_ERROR_IS_FATAL ANY)
  if(package MATCHES "\\.tar\\.gz$")
    file(GLOB_RECURSE entries RELATIVE "${unpacked}" LIST_DIRECTORIES true "${unpacked}/*")
    list(SORT entries)
    # GNU tar and gzip -n: no name or time in the gzip header.
    list(JOIN entries "\n" listing)
    file(WRITE "${unpacked}.list" "${listing}\n")
    execute_process(
      COMMAND tar --create --no-recursion --format=gnu --owner=0 --group=0 --numeric-owner --mode=u+rw,go+rX,go-w
              --mtime=@${tornvel_epoch} --files-from=${unpacked}.list
      COMMAND gzip -9n
      WORKING_DIRECTORY "${unpacked}" OUTPUT_FILE "${package}" COMMAND_ERROR_IS_FATAL ANY)
  else()
    # Python's zipfile writes no extra fields; libarchive's hold access times.
    find_program(tornvel_python NAMES python3 REQUIRED)
    file(REMOVE "${package}")
    execute_process(
      COMMAND ${tornvel_python} ${CMAKE_CURRENT_LIST_DIR}/../packaging/reproducible_zip.py
              "${package}" "${unpacked}" ${tornvel_epoch}
      COMMAND_ERROR_IS_FATAL ANY)
  endif()
  file(REMOVE_RECURSE "${unpacked}" "${unpacked}.list")
endforeach()

# The packages are still in cpack's work area; they are copied to the package
# directory when this script ends. SHA256SUMS there gets their lines, keeps the
# lines of the other generators' packages that exist there, and stays sorted.
set(sums_file "${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS")
set(lines "")
if(EXISTS "${sums_file}")
  file(STRINGS "${sums_file}" earlier)
  foreach(line IN LISTS earlier)
    string(REGEX REPLACE "^[0-9a-f]+  " "" name "${line}")
    if(EXISTS "${CPACK_PACKAGE_DIRECTORY}/${name}")
      list(APPEND lines "${name}|${line}")
    endif()
  endforeach()
endif()
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  get_filename_component(name "${package}" NAME)
  file(SHA256 "${package}" hash)
  list(FILTER lines EXCLUDE REGEX "^${name}\\|")
  list(APPEND lines "${name}|${hash}  ${name}")
endforeach()
list(SORT lines)
set(sums "")
foreach(entry IN LISTS lines)
  string(REGEX REPLACE "^[^|]*\\|" "" line "${entry}")
  string(APPEND sums "${line}\n")
endforeach()
file(WRITE "${sums_file}" "${sums}")
