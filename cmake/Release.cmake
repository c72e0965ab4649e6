# The release: tavrel-<version>-win32.zip, holding the program, its two sound
# files and a read-me for Windows users, side by side at the top of the ZIP
# and nothing else. It is packed by every build (target `release`), so it is
# never older than the program inside it, and the test that unpacks and
# starts it always has it.
if(NOT WIN32)
    return()
endif()

# Named for what the exe is built as: the presets build it 32-bit.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(TAVREL_RELEASE_NAME tavrel-${PROJECT_VERSION}-win32)
else()
    set(TAVREL_RELEASE_NAME tavrel-${PROJECT_VERSION}-win64)
endif()
set(TAVREL_RELEASE_ZIP ${CMAKE_BINARY_DIR}/${TAVREL_RELEASE_NAME}.zip)
set(TAVREL_RELEASE_FILES tavrel.exe key.wav click.wav README.txt)

set(_release_stage ${CMAKE_BINARY_DIR}/release/${TAVREL_RELEASE_NAME})
set(_release_readme ${CMAKE_BINARY_DIR}/release/README.txt)
set(_release_sounds ${PROJECT_SOURCE_DIR}/app/win32/res/key.wav ${PROJECT_SOURCE_DIR}/app/win32/res/click.wav)

# Windows line ends, so the read-me opens cleanly in any editor there.
configure_file(${PROJECT_SOURCE_DIR}/docs/README-windows.txt ${_release_readme} @ONLY NEWLINE_STYLE CRLF)

# Staged afresh every time, so nothing left over from an earlier build can
# slip into the ZIP.
add_custom_command(OUTPUT ${TAVREL_RELEASE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${_release_stage}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_release_stage}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tavrel> ${_release_sounds} ${_release_readme} ${_release_stage}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${TAVREL_RELEASE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E chdir ${_release_stage}
            ${CMAKE_COMMAND} -E tar cf ${TAVREL_RELEASE_ZIP} --format=zip ${TAVREL_RELEASE_FILES}
    DEPENDS tavrel ${_release_sounds} ${_release_readme}
    COMMENT "Packing ${TAVREL_RELEASE_NAME}.zip"
    VERBATIM)
add_custom_target(release ALL DEPENDS ${TAVREL_RELEASE_ZIP})
