# Fails the build when the help compiler left no help file or an empty one.
if(NOT EXISTS "${HELP_FILE}")
  message(FATAL_ERROR "The help compiler wrote no file: ${HELP_FILE}")
endif()
file(SIZE "${HELP_FILE}" size)
if(size EQUAL 0)
  message(FATAL_ERROR "The help compiler left an empty file: ${HELP_FILE}")
endif()
