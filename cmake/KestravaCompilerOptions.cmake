# Warnings and sanitizers for every target of the project.

add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
                    -Wformat=2 -Wimplicit-fallthrough)
if(KESTRAVA_WERROR)
    add_compile_options(-Werror)
endif()

if(KESTRAVA_SANITIZE)
    set(_kestrava_san "-fsanitize=${KESTRAVA_SANITIZE}")
    add_compile_options(${_kestrava_san} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(${_kestrava_san})
    if(KESTRAVA_SANITIZE MATCHES "undefined")
        # Qt's moc output casts through QObject in ways the vptr check cannot see through
        # uninstrumented Qt libraries; everything else of UBSan stays on.
        add_compile_options(-fno-sanitize=vptr)
    endif()
endif()

if(KESTRAVA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "KESTRAVA_FUZZ needs clang (use the 'fuzz' preset)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
