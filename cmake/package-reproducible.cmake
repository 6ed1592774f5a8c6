# Settings that make two builds of one commit give byte-identical packages,
# whatever folder they are built in and whenever they are built:
# - every time stamp in a package is the commit's time (SOURCE_DATE_EPOCH,
#   taken from the last commit when it is not set, package-config.cmake.in;
#   package-pre-build.cmake stamps the installed files with it);
# - the .tar.gz and .zip are written again with their entries sorted by name,
#   owned by root and stamped with that time, and a SHA256SUMS file lists every
#   package beside them (package-post-build.cmake);
# - the RPM carries that time as its build time, a fixed build host and no
#   build-id links;
# - build paths stay out of the binaries (-ffile-prefix-map, CMakeLists.txt).
configure_file(${CMAKE_CURRENT_LIST_DIR}/package-config.cmake.in
               ${PROJECT_BINARY_DIR}/package-config.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/package-config.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/package-pre-build.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/package-post-build.cmake)

string(CONCAT CPACK_RPM_SPEC_MORE_DEFINE
    "%define packager ${CPACK_PACKAGE_CONTACT}\n"
    "%define _buildhost tornvel\n"
    "%define use_source_date_epoch_as_buildtime 1\n"
    "%define clamp_mtime_to_source_date_epoch 1\n"
    "%define _build_id_links none\n"
    "%define debug_package %{nil}")
