# Strict warnings for our own targets only.
function(tavrel_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX /permissive- /utf-8)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror
            -Wshadow -Wconversion -Wno-sign-conversion)
        if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
            # GCC 12 at -O3 reports impossible overlaps in std::string concatenation.
            target_compile_options(${target} PRIVATE -Wno-restrict)
        endif()
    endif()
endfunction()
