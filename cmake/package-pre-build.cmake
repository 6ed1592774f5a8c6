# Run by cpack after the files of a package are installed into its work area
# and before the package is made (CPACK_PRE_BUILD_SCRIPTS): every file and
# folder there gets the time SOURCE_DATE_EPOCH, so that the package does not
# carry the times at which the sources were checked out or built.
set(tornvel_epoch "$ENV{SOURCE_DATE_EPOCH}")
if(tornvel_epoch STREQUAL "" OR NOT IS_DIRECTORY "${CPACK_TEMPORARY_DIRECTORY}")
  return()
endif()
execute_process(COMMAND find "${CPACK_TEMPORARY_DIRECTORY}" -exec touch -h -d @${tornvel_epoch} {} +
                COMMAND_ERROR_IS_FATAL ANY)
