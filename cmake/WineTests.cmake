# Tests run under Wine through CMAKE_CROSSCOMPILING_EMULATOR with a private
# prefix of the build's own architecture (a 32-bit prefix for the 32-bit
# build that ships), prepared once by the wine_prefix fixture. The 32-bit
# build also gets a 64-bit prefix, for a smoke test of the program there.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(TAVREL_WINEARCH win32)
else()
    set(TAVREL_WINEARCH win64)
endif()
set(TAVREL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix-${TAVREL_WINEARCH})

# Included once, from the top level, so there is exactly one fixture per prefix.
add_test(NAME wine_prefix
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh ${TAVREL_WINEPREFIX} ${TAVREL_WINEARCH})
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
if(TAVREL_WINEARCH STREQUAL "win32")
    set(TAVREL_WINEPREFIX64 ${CMAKE_BINARY_DIR}/wineprefix-win64)
    add_test(NAME wine_prefix64 COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh ${TAVREL_WINEPREFIX64} win64)
    set_tests_properties(wine_prefix64 PROPERTIES FIXTURES_SETUP wine64 TIMEOUT 300)
endif()

# Marks a test as needing the prefix. DISPLAY: the test uses the display or the
# global key state, so no two of them may run at once. PREFIX64: it runs in
# the 64-bit prefix instead.
# No test may hand a web address on to a browser (winebrowser.exe): one
# started by a stray activation of About's link, with no browser to start,
# was seen never to end under emulation, keeping the prefix's wineserver and
# with it the test's output open until ctest's timeout.
function(tavrel_wine_test name)
    cmake_parse_arguments(ARG "DISPLAY;PREFIX64" "" "" ${ARGN})
    if(ARG_PREFIX64)
        set(prefix ${TAVREL_WINEPREFIX64})
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine64)
    else()
        set(prefix ${TAVREL_WINEPREFIX})
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine)
    endif()
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "TAVREL_WINEPREFIX=${prefix};TAVREL_WINEDLLOVERRIDES=winebrowser.exe=d")
    if(ARG_DISPLAY)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display)
    endif()
endfunction()
