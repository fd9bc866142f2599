# Build helpers shared by every component.

# kv_test(<name> SOURCES ... [LIBS ...])
# A GoogleTest executable; each test case becomes one CTest entry, run in its own process so
# the device layer's process-wide state starts fresh for every case.
function(kv_test name)
  if(NOT KV_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 300)
endfunction()

# kv_fuzz(<name> SOURCES ... [LIBS ...] CORPUS <dir>)
# A fuzz target exporting LLVMFuzzerTestOneInput. With KV_FUZZ and clang it links libFuzzer;
# otherwise it links a replay driver and CTest replays the seed corpus through it.
function(kv_fuzz name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  if(KV_FUZZ)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/platform/testing/fuzz_replay_main.cpp)
    if(KV_BUILD_TESTS AND F_CORPUS)
      add_test(NAME ${name}.corpus COMMAND ${name} ${F_CORPUS})
    endif()
  endif()
endfunction()
