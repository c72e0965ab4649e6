# The layers and which way their includes may go:
#   platform (interfaces)  <-  core (logic)  <-  app (logic)  <-  app/win32 (windows)
#   platform               <-  platform/win32 (system services)
# tavrel_layer(TARGET DIR ... ALLOW prefixes DENY prefixes [PORTABLE]) makes
# TARGET's build check every header of DIR and fail on an include outside
# ALLOW, inside DENY, or (PORTABLE) of the system's headers.
function(tavrel_layer target)
    cmake_parse_arguments(ARG "PORTABLE" "" "DIRS;ALLOW;DENY" ${ARGN})
    set(files "")
    foreach(dir IN LISTS ARG_DIRS)
        file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.h ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
        list(APPEND files ${found})
    endforeach()
    set(stamp ${CMAKE_BINARY_DIR}/layers/${target}.checked)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} "-DFILES=${files}" "-DALLOWED=${ARG_ALLOW}" "-DDENIED=${ARG_DENY}"
                -DPORTABLE=${ARG_PORTABLE} -DSTAMP=${stamp} -P ${PROJECT_SOURCE_DIR}/cmake/check_includes.cmake
        DEPENDS ${files} ${PROJECT_SOURCE_DIR}/cmake/check_includes.cmake
        COMMENT "Checking the includes of ${target}"
        VERBATIM)
    add_custom_target(${target}_layer DEPENDS ${stamp})
    add_dependencies(${target} ${target}_layer)
endfunction()
