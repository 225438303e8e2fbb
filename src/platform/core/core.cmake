# tavo_platform_core: files, private heaps, archive, document base, the
# module path and the code page 932 table, on the C++ standard library and
# POSIX alone.
add_library(tavo_platform_core STATIC
  platform/core/document.cpp
  platform/core/file.cpp
  platform/core/heap.cpp
  platform/core/modulepath.cpp
  platform/core/progress.cpp
  platform/core/replacefile.cpp
  platform/core/sjis.cpp)
target_include_directories(tavo_platform_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
find_package(Threads REQUIRED)
target_link_libraries(tavo_platform_core PUBLIC Threads::Threads)
