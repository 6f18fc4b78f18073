# The header-only libraries of the host (nlohmann/json, Boost's random distributions) for a cross
# build: Debian packages them once, for every target, but under /usr/include, which a cross compiler
# must not search (its C library headers would shadow the target's). A folder of the build holds
# links to just these two libraries, and the packages are found there.
set(host_headers ${PROJECT_BINARY_DIR}/host_headers)
file(MAKE_DIRECTORY ${host_headers})
foreach(library boost nlohmann)
  if(NOT EXISTS /usr/include/${library})
    message(FATAL_ERROR "The cross build needs the host's /usr/include/${library} (see tools/dependencies.sh)")
  endif()
  file(CREATE_LINK /usr/include/${library} ${host_headers}/${library} SYMBOLIC)
endforeach()

set(Boost_NO_BOOST_CMAKE ON)
set(Boost_INCLUDE_DIR ${host_headers} CACHE PATH "Boost's headers, linked from the host" FORCE)

# nlohmann_json's own package file names /usr/include; this one names the folder of links.
set(json_package ${PROJECT_BINARY_DIR}/host_packages/nlohmann_json)
file(WRITE ${json_package}/nlohmann_jsonConfig.cmake
     "if(NOT TARGET nlohmann_json::nlohmann_json)\n"
     "  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)\n"
     "  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${host_headers})\n"
     "endif()\n")
# Its version file does not depend on the target.
file(COPY /usr/share/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake DESTINATION ${json_package})
set(nlohmann_json_DIR ${json_package} CACHE PATH "nlohmann_json's package, for the cross build" FORCE)
