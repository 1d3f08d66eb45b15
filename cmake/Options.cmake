# Compiler options shared by every target.
get_filename_component(QUILLORY_CORPUS ${CMAKE_SOURCE_DIR}/../shared/corpus ABSOLUTE)
set(QUILLORY_TESTDATA ${CMAKE_SOURCE_DIR}/tests/data)

function(quillory_compile_options target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        # Sources are UTF-8; program text is code page 932. clang cannot
        # convert literals, which only the fuzz build tolerates.
        target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP932)
    endif()
    if(WIN32)
        target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
    endif()
    if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
        # The 32-bit build is compiled, never run here: every narrowing of a
        # size, handle or pointer must be written out, so that what holds on
        # 64 bits cannot be cut silently on 32.
        target_compile_options(${target} PRIVATE -Werror=conversion -Werror=int-to-pointer-cast)
        # The archiver libraries export their __stdcall entry points under
        # plain names (Unlha, not Unlha@16), as the libraries they stand in
        # for do; the .def file names them so on purpose.
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "SHARED_LIBRARY")
            target_link_options(${target} PRIVATE -Wl,--enable-stdcall-fixup)
        endif()
    endif()
endfunction()

if(NOT WIN32 AND NOT QUILLORY_FUZZ AND QUILLORY_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
if(QUILLORY_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -g -O1)
    add_link_options(-fsanitize=address,undefined)
endif()
