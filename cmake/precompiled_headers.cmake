# Precompiled headers. Reading Qt Widgets', GoogleTest's and the JSON library's headers again in
# every file is most of what compiling these files costs; each group of headers below is parsed
# once per build by a small host target, and every target that takes the group reuses the host's
# result (REUSE_FROM). GCC takes a precompiled header only when it was made with the same code
# generation: a library's objects are position-independent (-fPIC) where it links Qt, a program's
# -fPIE, so libraries and programs have hosts of their own. No group reads a macro that a taking
# target defines differently (QT_NETWORK_LIB, QT_TESTLIB_LIB and the like are read by QtTest's
# headers, which stay out); CMake compiles the takers with -Winvalid-pch, so with warnings as
# errors a header that could not be taken fails the build instead of slowing it silently.

# The application headers stay out: each redefines the macro qApp as its own class, so a file that
# includes <QGuiApplication> alone must not see <QApplication>'s qApp (a downcast of a
# QGuiApplication to QApplication, which UBSan reports).
# clang-format off
set(vorlanex_standard_headers <algorithm> <functional> <memory> <optional> <string> <string_view> <vector>)
set(vorlanex_qt_widgets_headers
    <QAction> <QComboBox> <QDialog> <QDir> <QEvent> <QFile> <QFileInfo>
    <QFont> <QFormLayout> <QGroupBox> <QHBoxLayout> <QImage> <QLabel> <QLineEdit>
    <QMessageBox> <QPainter> <QPushButton> <QScreen> <QSettings> <QString> <QStringList> <QStyle>
    <QTableWidget> <QTabWidget> <QTimer> <QVBoxLayout> <QWidget>)
# Each group: its headers, and what its host links to find them.
set(VORLANEX_PRECOMPILED_qt_HEADERS ${vorlanex_standard_headers} ${vorlanex_qt_widgets_headers})
set(VORLANEX_PRECOMPILED_qt_LINKS Qt6::Widgets)
set(VORLANEX_PRECOMPILED_qt_tests_HEADERS ${VORLANEX_PRECOMPILED_qt_HEADERS} <gtest/gtest.h>)
set(VORLANEX_PRECOMPILED_qt_tests_LINKS Qt6::Widgets GTest::gtest)
set(VORLANEX_PRECOMPILED_json_HEADERS ${vorlanex_standard_headers} <nlohmann/json.hpp>)
set(VORLANEX_PRECOMPILED_json_LINKS nlohmann_json::nlohmann_json)
# clang-format on

set(vorlanex_precompiled_host_source ${CMAKE_CURRENT_LIST_DIR}/precompiled_host.cpp)

# Gives TARGET the precompiled headers of GROUP (qt, qt_tests or json, above).
function(vorlanex_precompiled_headers target group)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(kind program)
  else()
    set(kind library)
  endif()
  set(host precompiled_${group}_${kind})
  if(NOT TARGET ${host})
    # The packages whose targets the host links, found in the folder that defines it.
    if(group MATCHES "^qt")
      find_package(Qt6 REQUIRED COMPONENTS Widgets)
    endif()
    if(group STREQUAL "qt_tests")
      find_package(GTest REQUIRED)
    endif()
    if(group STREQUAL "json")
      find_package(nlohmann_json 3 REQUIRED)
    endif()
    if(kind STREQUAL "program")
      add_executable(${host} ${vorlanex_precompiled_host_source})
    else()
      add_library(${host} STATIC ${vorlanex_precompiled_host_source})
    endif()
    target_link_libraries(${host} PRIVATE ${VORLANEX_PRECOMPILED_${group}_LINKS})
    target_precompile_headers(${host} PRIVATE ${VORLANEX_PRECOMPILED_${group}_HEADERS})
  endif()
  target_precompile_headers(${target} REUSE_FROM ${host})
endfunction()
