# Warnings, sanitizers and test registration shared by every directory.

set(RECORDER_WARNINGS -Wall -Wextra -Wshadow -Wformat=2 -Wno-unused-parameter)
if(RECORDER_WERROR)
  list(APPEND RECORDER_WARNINGS -Werror)
endif()
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:${RECORDER_WARNINGS}>")

if(RECORDER_SANITIZE)
  add_compile_options(-fsanitize=${RECORDER_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${RECORDER_SANITIZE})
  # GCC's flow analysis gives false maybe-uninitialized reports on instrumented code (std::regex
  # and std::function in particular); the plain build keeps the warning.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
endif()

# 64-bit file offsets everywhere: musl on the device has nothing else, and 32-bit glibc builds
# (the armhf check) would otherwise fail readdir on file systems with 64-bit directory cookies.
add_compile_definitions(_FILE_OFFSET_BITS=64)

# Every system path is RECORDER_ROOT followed by the device path (see common/include/sys_paths.h).
add_compile_definitions(RECORDER_ROOT="${RECORDER_ROOT}")
file(MAKE_DIRECTORY "${RECORDER_ROOT}")

set(RECORDER_ISOLATE "${PROJECT_SOURCE_DIR}/scripts/run-isolated")

# recorder_add_gtest(NAME SOURCES src... [LIBS lib...] [ISOLATED] [TIMEOUT s] [LABELS l...])
# One CTest test per GoogleTest program. ISOLATED runs it in private IPC and mount namespaces
# with a fresh /dev/shm, for tests that use System V queues, POSIX semaphores or shared memory.
# Label "threaded" marks the tests that the ThreadSanitizer run takes.
function(recorder_add_gtest name)
  cmake_parse_arguments(T "ISOLATED" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  recorder_register_test(${name} ${name} "${T_ISOLATED}" "${T_TIMEOUT}")
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# The fuzz build (RECORDER_FUZZ=ON, clang) builds every library with the fuzzer's coverage and
# with AddressSanitizer and UndefinedBehaviorSanitizer, so that the fuzzer sees and checks the code
# its targets call, not only the harness files.
if(RECORDER_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

set(RECORDER_FUZZ_DIR "${CMAKE_CURRENT_LIST_DIR}/fuzz")

# True in OUT when one of the libraries, or a library they link, is cJSON: the target reads JSON.
function(recorder_links_json out)
  set(todo ${ARGN})
  set(seen)
  set(${out} FALSE PARENT_SCOPE)
  while(todo)
    list(POP_FRONT todo lib)
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" lib "${lib}")
    if(lib IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${lib})
    if(lib STREQUAL "PkgConfig::CJSON")
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
    if(TARGET ${lib})
      get_target_property(more ${lib} INTERFACE_LINK_LIBRARIES)
      if(more)
        list(APPEND todo ${more})
      endif()
    endif()
  endwhile()
endfunction()

# recorder_add_fuzz(NAME SOURCES src... [LIBS lib...] [SEEDS dir...] [DICT file])
# A libFuzzer target (LLVMFuzzerTestOneInput). Built only with RECORDER_FUZZ=ON (clang), where
# the libraries it calls carry coverage and the sanitizers too. Its CTest test, label "fuzz", runs
# it for RECORDER_FUZZ_SECONDS, starting from the files in the SEEDS directories. A target that
# links cJSON also starts from the IPC message seeds of cmake/fuzz/ipc_seeds and gets the JSON
# dictionary cmake/fuzz/json.dict unless DICT names another. Targets print nothing on standard
# output (RECORDER_FUZZ_LOG=1 keeps it).
set(RECORDER_FUZZ_SECONDS 20 CACHE STRING "Length of each fuzz target's run in the fuzz tests")
function(recorder_add_fuzz name)
  cmake_parse_arguments(F "" "DICT" "SOURCES;LIBS;SEEDS" ${ARGN})
  if(NOT RECORDER_FUZZ)
    return()
  endif()
  add_executable(${name} ${F_SOURCES} ${RECORDER_FUZZ_DIR}/fuzz_quiet.c)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  recorder_links_json(json ${F_LIBS})
  if(json)
    list(APPEND F_SEEDS ${RECORDER_FUZZ_DIR}/ipc_seeds)
    if(NOT F_DICT)
      set(F_DICT ${RECORDER_FUZZ_DIR}/json.dict)
    endif()
  endif()
  set(corpus "${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus")
  file(MAKE_DIRECTORY "${corpus}")
  foreach(dir ${F_SEEDS})
    file(GLOB seeds "${dir}/*")
    if(seeds)
      file(COPY ${seeds} DESTINATION "${corpus}")
    endif()
  endforeach()
  set(dict)
  if(F_DICT)
    set(dict -dict=${F_DICT})
  endif()
  add_test(NAME ${name} COMMAND ${RECORDER_ISOLATE} $<TARGET_FILE:${name}>
    -max_total_time=${RECORDER_FUZZ_SECONDS} -rss_limit_mb=2048 ${dict} ${corpus})
  # With RECORDER_ROOT set, run-isolated puts the root's tmp/ and dev/ on private tmpfs mounts:
  # targets that write files (the archive targets) then never wait for the disk.
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 600 ENVIRONMENT "RECORDER_ROOT=${RECORDER_ROOT}")
endfunction()

# recorder_register_test(TESTNAME TARGET ISOLATED TIMEOUT [args...])
function(recorder_register_test testname target isolated timeout)
  set(cmd)
  if(isolated)
    list(APPEND cmd ${RECORDER_ISOLATE})
  endif()
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    list(APPEND cmd ${CMAKE_CROSSCOMPILING_EMULATOR})
  endif()
  add_test(NAME ${testname} COMMAND ${cmd} $<TARGET_FILE:${target}> ${ARGN})
  if(NOT timeout)
    set(timeout 300)
  endif()
  set_tests_properties(${testname} PROPERTIES TIMEOUT ${timeout}
    ENVIRONMENT "RECORDER_BUILD_DIR=${CMAKE_BINARY_DIR};RECORDER_SOURCE_DIR=${PROJECT_SOURCE_DIR};RECORDER_ROOT=${RECORDER_ROOT}")
endfunction()

# recorder_add_scenario(NAME SCENARIO file [REF_DIR dir])
# An end-to-end scenario (UI/CarRecorder/tests/scenario_test.cpp): scripts/sim plays the
# recorder_sim scenario headless with the real recorder_ui, recorder_sim and display_sink, and
# every screenshot it takes ("shot NAME.png") is compared with REF_DIR/e2e_NAME_US.png (default:
# ref/ beside the scenario's folder). RECORDER_UPDATE_REFS=1 writes the references anew.
function(recorder_add_scenario name)
  cmake_parse_arguments(S "" "SCENARIO;REF_DIR" "" ${ARGN})
  if(CMAKE_CROSSCOMPILING)
    return()
  endif()
  foreach(dir UI/CarRecorder tools/recorder_sim tools/display_sink res)
    if(RECORDER_ONLY AND NOT dir IN_LIST RECORDER_ONLY)
      return()
    endif()
  endforeach()
  get_filename_component(scn "${S_SCENARIO}" ABSOLUTE)
  if(NOT S_REF_DIR)
    get_filename_component(S_REF_DIR "${scn}" DIRECTORY)
    set(S_REF_DIR "${S_REF_DIR}/../ref")
  endif()
  get_filename_component(refs "${S_REF_DIR}" ABSOLUTE)
  add_test(NAME ${name} COMMAND $<TARGET_FILE:scenario_test> ${scn} ${refs})
  set_tests_properties(${name} PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE LABELS e2e)
endfunction()
