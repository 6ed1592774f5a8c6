# What the Windows build installs and packs into its .zip: tornvel.exe, the
# README, the examples and the manual pages rendered as plain text with CR LF
# line ends, all at the top of the archive's folder.
install(TARGETS tornvel RUNTIME DESTINATION .)
# The linker would stamp tornvel.exe with the time of the link; without the
# stamp two builds of one commit give the same bytes.
target_link_options(tornvel PRIVATE -Wl,--no-insert-timestamp)
install(FILES README.md DESTINATION .)
install(DIRECTORY examples DESTINATION . PATTERN .gitignore EXCLUDE PATTERN SQLLIB EXCLUDE)

# The manual: man-db's man (Debian package man-db, with groff-base) formats the
# page at 80 columns, in ASCII, without hyphenation or justification; col
# (bsdextrautils) removes the overstrikes and expands tabs.
find_program(TORNVEL_MAN man)
find_program(TORNVEL_COL col)
if(NOT TORNVEL_MAN OR NOT TORNVEL_COL)
  message(FATAL_ERROR "The manual text needs man and col: apt-get install man-db bsdextrautils")
endif()
# tornvel.txt is the command's page, tornvel-files.txt the page of the file
# formats.
set(TORNVEL_MANUAL_TEXT ${CMAKE_BINARY_DIR}/tornvel.txt ${CMAKE_BINARY_DIR}/tornvel-files.txt)
foreach(page_and_text "tornvel.1;tornvel.txt" "tornvel.5;tornvel-files.txt")
  list(GET page_and_text 0 page)
  list(GET page_and_text 1 text)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/${text}
    COMMAND /bin/sh -c "LC_ALL=C MANWIDTH=80 \"$0\" --nh --nj -l \"$1\" | \"$2\" -bx | sed 's/$/\\r/' > \"$3\""
            ${TORNVEL_MAN} ${PROJECT_SOURCE_DIR}/doc/${page} ${TORNVEL_COL} ${CMAKE_BINARY_DIR}/${text}
    DEPENDS ${PROJECT_SOURCE_DIR}/doc/${page}
    COMMENT "Rendering the manual page ${page} as text"
    VERBATIM)
endforeach()
add_custom_target(manual_text ALL DEPENDS ${TORNVEL_MANUAL_TEXT})
install(FILES ${TORNVEL_MANUAL_TEXT} DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME tornvel)
set(CPACK_PACKAGE_VENDOR "tornvel developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Migrates tuned monitoring thresholds to SQL seed statements")
set(CPACK_PACKAGE_FILE_NAME tornvel-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)  # the debugging information stays in the build tree
include(${CMAKE_CURRENT_LIST_DIR}/package-reproducible.cmake)  # sorted, stamped, SHA256SUMS
include(CPack)
