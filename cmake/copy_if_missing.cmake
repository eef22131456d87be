# Copies SOURCE to DESTINATION unless DESTINATION exists: files the program
# writes at run time keep what it wrote when the build runs again.
if(NOT EXISTS "${DESTINATION}")
  get_filename_component(folder "${DESTINATION}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  file(COPY_FILE "${SOURCE}" "${DESTINATION}")
endif()
