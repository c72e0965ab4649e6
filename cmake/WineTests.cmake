# Tests run under Wine through CMAKE_CROSSCOMPILING_EMULATOR with a private
# prefix, prepared once by the wine_prefix fixture.
set(TAVREL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)

# Included once, from the top level, so there is exactly one fixture.
add_test(NAME wine_prefix COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh ${TAVREL_WINEPREFIX})
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)

# Marks a test as needing the prefix. DISPLAY: the test uses the display or the
# global key state, so no two of them may run at once.
function(tavrel_wine_test name)
    cmake_parse_arguments(ARG "DISPLAY" "" "" ${ARGN})
    set_tests_properties(${name} PROPERTIES
        FIXTURES_REQUIRED wine
        ENVIRONMENT "TAVREL_WINEPREFIX=${TAVREL_WINEPREFIX}")
    if(ARG_DISPLAY)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display)
    endif()
endfunction()
