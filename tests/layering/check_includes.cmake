cmake_minimum_required(VERSION 3.25)
# Checks that every include of the project's own headers points down the layers:
#   numeric <- page <- kinematics, collision <- registry <- tolerance <- casefile <- report <- cli, app, spis
# (winapp, the Windows window, stands on registry and the compiled pictures, without the toolkit),
# that the command and the window reach the pages only through the registry, and that nothing but
# the windows (app, spis) and the shared Qt layer they both stand on (qtshared) includes the
# toolkit. The shared Qt layer includes no other folder of the project: it stands on Qt alone, and
# app and spis may include it. Run as
#   cmake -DSOURCE_DIR=<repository> -P check_includes.cmake
set(allowed_numeric numeric)
set(allowed_page numeric page)
set(allowed_kinematics numeric page kinematics)
set(allowed_collision numeric page collision)
set(allowed_registry numeric page kinematics collision registry)
set(allowed_report numeric page registry tolerance casefile report)
set(allowed_casefile numeric page registry tolerance casefile)
set(allowed_tolerance numeric page registry tolerance)
set(allowed_cli numeric page registry tolerance casefile report cli)
set(allowed_qtshared qtshared)
set(allowed_app numeric page registry report resources qtshared app)
set(allowed_spis numeric page registry tolerance casefile report qtshared spis)
set(allowed_winapp numeric page registry resources winapp)
set(checked_folders numeric page kinematics collision registry tolerance casefile report cli qtshared app spis winapp)
set(toolkit_free numeric page kinematics collision registry tolerance casefile report cli winapp)
set(project_folders numeric page kinematics collision resources registry tolerance casefile report cli qtshared app spis
    winapp tests bench)

set(violations "")
foreach(folder IN LISTS checked_folders)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
      if(line MATCHES "#[ \t]*include[ \t]*\"([a-z_]+)/")
        set(target "${CMAKE_MATCH_1}")
        if(target IN_LIST project_folders AND NOT target IN_LIST allowed_${folder})
          string(APPEND violations "${source}: ${line}\n")
        endif()
      elseif(folder IN_LIST toolkit_free AND line MATCHES "#[ \t]*include[ \t]*<Q")
        string(APPEND violations "${source}: ${line} (the calculations know nothing of the toolkit)\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes that point up the layers:\n${violations}")
endif()
message(STATUS "Every include points down the layers")
