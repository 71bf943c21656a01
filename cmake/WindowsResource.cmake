# The Windows resource script of the executable, from the project's one version.
set(CLEARMARK_INTERNAL_NAME DorvansClearmark)
# The version as text: major, then the minor number in two digits ("1.00").
if(PROJECT_VERSION_MINOR LESS 10)
    set(CLEARMARK_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
    set(CLEARMARK_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()
set(CLEARMARK_ICON_FILE "${PROJECT_SOURCE_DIR}/app/icons/clearmark.ico")
set(CLEARMARK_ABOUT_ICON_FILE "${PROJECT_SOURCE_DIR}/app/icons/about.ico")
set(CLEARMARK_MANIFEST_FILE "${PROJECT_SOURCE_DIR}/app/windows/clearmark.manifest")
set(CLEARMARK_RESOURCE_SCRIPT "${PROJECT_BINARY_DIR}/generated/clearmark.rc")
configure_file(${PROJECT_SOURCE_DIR}/app/clearmark.rc.in ${CLEARMARK_RESOURCE_SCRIPT} @ONLY)

# The downloads, named from the project's name and version.
set(CLEARMARK_SETUP_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-setup.exe)
set(CLEARMARK_SETUP_FILE ${PROJECT_BINARY_DIR}/${CLEARMARK_SETUP_NAME})
set(CLEARMARK_ZIP_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-windows.zip)
set(CLEARMARK_ZIP_FILE ${PROJECT_BINARY_DIR}/${CLEARMARK_ZIP_NAME})
