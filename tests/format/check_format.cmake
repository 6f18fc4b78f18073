cmake_minimum_required(VERSION 3.25)
# Checks that every C++ file of the project is formatted as .clang-format says, so a change shows
# only what it changes. Hand-aligned tables are fenced with "// clang-format off" / "on" and kept.
# The start-up floor program under bench/startup is another program's code and keeps its own style.
# Run as
#   cmake -DSOURCE_DIR=<repository> -DCLANG_FORMAT=<clang-format> -P check_format.cmake
set(folders numeric page kinematics collision registry report tolerance casefile cli qtshared app spis resources tests
    bench)
set(sources "")
foreach(folder IN LISTS folders)
  file(GLOB_RECURSE found "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  list(APPEND sources ${found})
endforeach()
list(FILTER sources EXCLUDE REGEX "/bench/startup/")
list(FILTER sources EXCLUDE REGEX "/build/")

set(unformatted "")
foreach(source IN LISTS sources)
  execute_process(COMMAND "${CLANG_FORMAT}" --style=file --dry-run --Werror "${source}"
                  WORKING_DIRECTORY "${SOURCE_DIR}" RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  if(NOT status EQUAL 0)
    file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
    string(APPEND unformatted "  ${name}\n")
  endif()
endforeach()

if(unformatted)
  message(FATAL_ERROR "Files not formatted as .clang-format says (run clang-format -i on them):\n${unformatted}")
endif()
list(LENGTH sources count)
message(STATUS "All ${count} C++ files are formatted")
