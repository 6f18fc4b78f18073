# The library separator_table: separator_table() generated from ICU's character data by
# separator_table_generator. In a cross build the generator is compiled for the host by the host's
# compiler (VORLANEX_HOST_CXX) and linked with the host's ICU, which Debian has and the target lacks.
set(separator_table_source ${CMAKE_CURRENT_BINARY_DIR}/separator_table.cpp)
set(generator_sources ${CMAKE_CURRENT_SOURCE_DIR}/separator_table_generator.cpp
                      ${CMAKE_CURRENT_SOURCE_DIR}/separator_properties_icu.cpp)
if(CMAKE_CROSSCOMPILING)
  find_program(VORLANEX_HOST_CXX NAMES c++ g++ REQUIRED)
  set(generator ${CMAKE_CURRENT_BINARY_DIR}/separator_table_generator)
  add_custom_command(
    OUTPUT ${generator}
    COMMAND ${VORLANEX_HOST_CXX} -std=c++20 -O2 -I${PROJECT_SOURCE_DIR} ${generator_sources} -licui18n -licuuc -o
            ${generator}
    DEPENDS ${generator_sources} ${CMAKE_CURRENT_SOURCE_DIR}/separator_properties.h
    COMMENT "Compiling the separator table's generator for the host"
    VERBATIM)
else()
  add_executable(separator_table_generator ${generator_sources})
  target_include_directories(separator_table_generator PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(separator_table_generator PRIVATE ICU::uc ICU::i18n)
  set(generator separator_table_generator)
endif()
add_custom_command(
  OUTPUT ${separator_table_source}
  COMMAND ${generator} ${separator_table_source}
  DEPENDS ${generator}
  COMMENT "Generating the separator check's table from ICU"
  VERBATIM)
add_library(separator_table STATIC ${separator_table_source})
target_include_directories(separator_table PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(separator_table PUBLIC numeric)
