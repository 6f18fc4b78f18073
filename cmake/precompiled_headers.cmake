# Precompiled headers for the libraries of the windows' code (Qt Widgets) and of the case file and
# the command (the JSON library). Reading those headers again in every file is most of what
# compiling these files costs; each group of headers below is parsed once per build by a small host
# library, and every library that takes the group reuses the host's result (REUSE_FROM), made with
# the same code generation (-fPIC where it links Qt). No group reads a macro that a taking library
# defines differently; CMake compiles the takers with -Winvalid-pch, so with warnings as errors a
# header that could not be taken fails the build instead of slowing it silently.

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
set(VORLANEX_PRECOMPILED_json_HEADERS ${vorlanex_standard_headers} <nlohmann/json.hpp>)
set(VORLANEX_PRECOMPILED_json_LINKS nlohmann_json::nlohmann_json)
# clang-format on

# Gives the library TARGET the precompiled headers of GROUP (qt or json, above).
# The cross build for Windows compiles only the small libraries without a window: it takes none.
function(vorlanex_precompiled_headers target group)
  if(CMAKE_CROSSCOMPILING)
    return()
  endif()
  set(host precompiled_${group})
  if(NOT TARGET ${host})
    # The package whose headers the host reads, found in the folder that defines it.
    if(group STREQUAL "qt")
      find_package(Qt6 REQUIRED COMPONENTS Widgets)
    else()
      find_package(nlohmann_json 3 REQUIRED)
    endif()
    add_library(${host} STATIC ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/precompiled_host.cpp)
    target_link_libraries(${host} PRIVATE ${VORLANEX_PRECOMPILED_${group}_LINKS})
    target_precompile_headers(${host} PRIVATE ${VORLANEX_PRECOMPILED_${group}_HEADERS})
  endif()
  target_precompile_headers(${target} REUSE_FROM ${host})
endfunction()
