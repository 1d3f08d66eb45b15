# The program's one version is the project version of CMakeLists.txt. From
# it come a header for the code (the version dialog, quillory-cli --version),
# the version resource of every exe and DLL (Explorer's properties) and a
# text file tools/package.sh names the packages by.
set(QUILLORY_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/QuilloryVersion.h.in ${QUILLORY_GENERATED_DIR}/QuilloryVersion.h @ONLY)
file(WRITE ${CMAKE_BINARY_DIR}/quillory-version.txt "${PROJECT_VERSION}\n")

# Gives a Windows target its version resource; description is the file
# description Explorer shows (UTF-8).
function(quillory_version_resource target description)
    if(NOT WIN32)
        return()
    endif()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
        set(QUILLORY_FILE_TYPE VFT_APP)
    else()
        set(QUILLORY_FILE_TYPE VFT_DLL)
    endif()
    set(QUILLORY_FILE_DESCRIPTION "${description}")
    set(QUILLORY_FILE_NAME "$<TARGET_FILE_NAME:${target}>")
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
    configure_file(${CMAKE_SOURCE_DIR}/cmake/VersionInfo.rc.in ${script}.in @ONLY)
    # The file name is known only at generation time.
    file(GENERATE OUTPUT ${script} INPUT ${script}.in)
    target_sources(${target} PRIVATE ${script})
endfunction()
