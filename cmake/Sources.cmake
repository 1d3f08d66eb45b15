# Source lists by globbing: every .cpp of the library folders belongs to the
# pure core, except *_win.cpp (Windows build only) and *_posix.cpp (native only).
set(QUILLORY_LIBRARY_DIRS core catalogue/archive analysis catalogue player ui/rules actions)

set(QUILLORY_CORE_SOURCES)
foreach(dir ${QUILLORY_LIBRARY_DIRS})
    file(GLOB dirSources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND QUILLORY_CORE_SOURCES ${dirSources})
endforeach()
if(WIN32)
    list(FILTER QUILLORY_CORE_SOURCES EXCLUDE REGEX "_posix\\.cpp$")
else()
    list(FILTER QUILLORY_CORE_SOURCES EXCLUDE REGEX "_win\\.cpp$")
endif()
