# The fuzz targets. With TAVO_FUZZ (clang only) they are libFuzzer
# executables; otherwise each is linked with a replay driver. Either way the
# committed corpus of a target, its seeds and every input that ever failed,
# runs as a test.
set(TAVO_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})

function(tavo_fuzz_target name)
  add_executable(${name} ${TAVO_FUZZ_DIR}/${name}.cpp)
  target_link_libraries(${name} PRIVATE ${ARGN})
  target_include_directories(${name} PRIVATE ${TAVO_FUZZ_DIR} ${PROJECT_SOURCE_DIR}/tests)
  if(TAVO_SANITIZE)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/lsan_suppressions.cpp)
  endif()
  set(corpus ${TAVO_FUZZ_DIR}/corpus/${name})
  if(TAVO_FUZZ)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    add_test(NAME ${name}_corpus COMMAND ${name} -runs=0 ${corpus})
  else()
    target_sources(${name} PRIVATE ${TAVO_FUZZ_DIR}/replay.cpp)
    add_test(NAME ${name}_corpus COMMAND ${name} ${corpus})
  endif()
  set_tests_properties(${name}_corpus PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

tavo_fuzz_target(fuzz_load tavo_document)
tavo_fuzz_target(fuzz_find tavo_document)
tavo_fuzz_target(fuzz_drawrun tavo_render tavo_test_support)
tavo_fuzz_target(fuzz_glyphstore tavo_platform_gdi)
if(TARGET tavo_app)
  tavo_fuzz_target(fuzz_env tavo_settings_dialog)
  tavo_fuzz_target(fuzz_cmdline tavo_app)
endif()
