# Installed files and the release packages built from them with CPack:
#   cmake --workflow --preset package     (build/packages/)
# A Debian package, an RPM package (when rpmbuild is installed) and a .tar.gz,
# with a SHA256SUMS file beside them (the Windows build's .zip:
# windows-package.cmake). Two builds of one commit give the same bytes: see
# package-reproducible.cmake and scripts/package-repro.sh.
include(GNUInstallDirs)

set(TORNVEL_MAINTAINER "tornvel maintainers <maintainers@users.noreply.c-seed-60b984d9.example>")

# Installed directories get rwxr-xr-x whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS tornvel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (cmake --install --strip, and every package) also drops
# the compiler identification and note sections, as Debian's tools do.
if(CMAKE_STRIP AND NOT WIN32)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/tornvel\"
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()")
endif()

# The manual page and the Debian changelog are installed compressed with
# "gzip -9n" (best compression, no name or time stamp in the header), as
# Debian's policy asks; without gzip the page is installed as it is.
find_program(TORNVEL_GZIP gzip)
if(TORNVEL_GZIP AND NOT WIN32)
  # The changelog's newest entry must be the release being built.
  file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog tornvel_changelog_top LIMIT_COUNT 1)
  string(REPLACE "." "\\." tornvel_version_pattern "${PROJECT_VERSION}")
  if(NOT tornvel_changelog_top MATCHES "^tornvel \\(${tornvel_version_pattern}\\) ")
    message(FATAL_ERROR "packaging/changelog starts with '${tornvel_changelog_top}': "
                        "add an entry for version ${PROJECT_VERSION} at its top")
  endif()
  set(tornvel_doc_dir ${PROJECT_BINARY_DIR}/doc)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog ${tornvel_doc_dir}/changelog COPYONLY)
  add_custom_command(
    OUTPUT ${tornvel_doc_dir}/tornvel.1.gz ${tornvel_doc_dir}/tornvel.5.gz ${tornvel_doc_dir}/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/doc/tornvel.1 ${tornvel_doc_dir}/tornvel.1
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/doc/tornvel.5 ${tornvel_doc_dir}/tornvel.5
    COMMAND ${TORNVEL_GZIP} -9nf ${tornvel_doc_dir}/tornvel.1 ${tornvel_doc_dir}/tornvel.5
    COMMAND ${TORNVEL_GZIP} -9nkf ${tornvel_doc_dir}/changelog
    DEPENDS ${PROJECT_SOURCE_DIR}/doc/tornvel.1 ${PROJECT_SOURCE_DIR}/doc/tornvel.5
            ${tornvel_doc_dir}/changelog
    VERBATIM)
  add_custom_target(tornvel_compressed_docs ALL
                    DEPENDS ${tornvel_doc_dir}/tornvel.1.gz ${tornvel_doc_dir}/tornvel.5.gz
                            ${tornvel_doc_dir}/changelog.gz)
  install(FILES ${tornvel_doc_dir}/tornvel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${tornvel_doc_dir}/tornvel.5.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man5)
  install(FILES ${tornvel_doc_dir}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
else()
  install(FILES ${PROJECT_SOURCE_DIR}/doc/tornvel.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/doc/tornvel.5 DESTINATION ${CMAKE_INSTALL_MANDIR}/man5)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The README and the shipped examples, to read and to run from a copy.
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples DESTINATION ${CMAKE_INSTALL_DOCDIR}
        PATTERN .gitignore EXCLUDE PATTERN SQLLIB EXCLUDE)
# Completion of the switches, product codes and file names in bash.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tornvel.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tornvel)

set(CPACK_PACKAGE_NAME tornvel)
set(CPACK_PACKAGE_VENDOR "tornvel maintainers")
set(CPACK_PACKAGE_CONTACT "${TORNVEL_MAINTAINER}")
# The version comes from project(VERSION).
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "migrate tuned monitoring thresholds to situation seed statements")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "tornvel reads a monitoring profile exported from Pelloran together with a\n"
    "product control file and writes SQL seed statements so that the situations\n"
    "Quillmark ships for the product fire at the thresholds the site had tuned.\n"
    "It also writes a comma-delimited threshold file, template rows for workload\n"
    "service classes and console reports. One batch run per profile; exit codes\n"
    "tell scripts what happened.")
set(CPACK_STRIP_FILES ON)

# rpmbuild comes with Debian's rpm package; without it the RPM is left out.
find_program(TORNVEL_RPMBUILD rpmbuild)
if(TORNVEL_RPMBUILD)
  set(CPACK_GENERATOR DEB RPM TGZ)
else()
  message(STATUS "rpmbuild not found: the packages are built without the .rpm "
                 "(apt-get install rpm)")
  set(CPACK_GENERATOR DEB TGZ)
endif()

# Debian package: tornvel_<version>_<arch>.deb, programs in /usr/bin.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TORNVEL_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Run-time dependencies computed from the binary by dpkg-shlibdeps (dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# RPM package: tornvel-<version>-1.<arch>.rpm, the same files as the .deb.
set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_RELEASE 1)
set(CPACK_RPM_PACKAGE_LICENSE "Proprietary")
set(CPACK_RPM_PACKAGE_GROUP "Applications/System")
set(CPACK_RPM_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
# Directories that belong to the system, not to this package.
set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
    /usr/share/man /usr/share/man/man1 /usr/share/man/man5
    /usr/share/bash-completion /usr/share/bash-completion/completions)

include(${CMAKE_CURRENT_LIST_DIR}/package-reproducible.cmake)
include(CPack)
