# cmake -DSOURCE=<file> -DDESTINATION=<file> -P CopyPhraseFile.cmake
# Copies the phrase file byte for byte when it exists; without it, does nothing.
if(EXISTS "${SOURCE}")
    get_filename_component(folder "${DESTINATION}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    file(COPY_FILE "${SOURCE}" "${DESTINATION}" ONLY_IF_DIFFERENT)
endif()
