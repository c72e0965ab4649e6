# Strict warnings for our own targets only.
function(tavrel_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX /permissive- /utf-8)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror
            -Wshadow -Wconversion -Wno-sign-conversion)
    endif()
endfunction()
