# Each subsystem builds as one or two static libraries:
#   talvo_core_<name>  Qt-free records, file formats and algorithms. It links no
#                      Qt, so a Qt include there fails the build.
#   talvo_ui_<name>    its widgets and desktop adapters, on top of the core.
# talvo_core and talvo_widgets gather them all. The folders are added from the
# bottom up (TALVO_SUBSYSTEMS): base, platform, controls, the subsystems, and the
# shell (app) on top; a module depends only on modules below it.

add_library(talvo_core INTERFACE)
add_library(talvo_widgets INTERFACE)

# Parsing Qt's widget headers is most of a widget file's compile time, so the
# widget modules share one precompiled header, built once in talvo_ui_pch (a
# widget file then compiles in about half the time). GCC uses a precompiled
# header only with the flags and macros it was built with: talvo_ui_pch is
# built exactly like a talvo_ui_* module (same links, same -Os).
# Only Qt and the standard library go in: a header of ours would hide a missing
# include, and the core never sees it (a Qt include there still fails the build).
# -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON builds without it.
if(TALVO_BUILD_GUI)
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/talvo_pch.cpp CONTENT "// The precompiled headers' own file.\n")
  add_library(talvo_ui_pch OBJECT ${PROJECT_BINARY_DIR}/talvo_pch.cpp)
  target_link_libraries(talvo_ui_pch PRIVATE talvo_common talvo_qt_flags Qt6::Widgets)
  target_compile_options(talvo_ui_pch PRIVATE $<$<CONFIG:Release,RelWithDebInfo>:-Os>)
  target_precompile_headers(talvo_ui_pch PRIVATE
    <algorithm> <array> <cstdint> <functional> <memory> <optional> <string> <string_view> <vector>
    <QAbstractTableModel> <QAction> <QApplication> <QColor> <QEvent> <QFile> <QHBoxLayout>
    <QHeaderView> <QIcon> <QKeyEvent> <QLabel> <QLineEdit> <QLocale> <QMenu> <QMouseEvent>
    <QObject> <QPainter> <QPlainTextEdit> <QPointer> <QPushButton> <QScreen> <QString>
    <QStringList> <QStyledItemDelegate> <QTabWidget> <QTableView> <QTimer> <QToolButton>
    <QTreeView> <QVBoxLayout> <QWidget>)
endif()

# talvo_core_module(<name> SOURCES files... [DEPENDS other core modules...])
function(talvo_core_module name)
  cmake_parse_arguments(M "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(talvo_core_${name} STATIC ${M_SOURCES})
  target_include_directories(talvo_core_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(talvo_core_${name} PUBLIC talvo_common)
  foreach(dep IN LISTS M_DEPENDS)
    target_link_libraries(talvo_core_${name} PUBLIC talvo_core_${dep})
  endforeach()
  target_link_libraries(talvo_core INTERFACE talvo_core_${name})
endfunction()

# talvo_widget_module(<name> SOURCES files... [CORE core modules...] [DEPENDS widget modules...])
function(talvo_widget_module name)
  if(NOT TALVO_BUILD_GUI)
    return()
  endif()
  cmake_parse_arguments(M "" "" "SOURCES;CORE;DEPENDS" ${ARGN})
  add_library(talvo_ui_${name} STATIC ${M_SOURCES})
  set_target_properties(talvo_ui_${name} PROPERTIES AUTOMOC ON AUTORCC ON)
  target_include_directories(talvo_ui_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(talvo_ui_${name} PUBLIC talvo_common talvo_qt_flags Qt6::Widgets)
  # Widget code runs per click, not per byte: built for size, it has fewer code
  # pages to fault in at start and keeps fewer resident. The core's algorithms
  # keep the build type's optimisation.
  target_compile_options(talvo_ui_${name} PRIVATE $<$<CONFIG:Release,RelWithDebInfo>:-Os>)
  target_precompile_headers(talvo_ui_${name} REUSE_FROM talvo_ui_pch)
  foreach(dep IN LISTS M_CORE)
    target_link_libraries(talvo_ui_${name} PUBLIC talvo_core_${dep})
  endforeach()
  foreach(dep IN LISTS M_DEPENDS)
    target_link_libraries(talvo_ui_${name} PUBLIC talvo_ui_${dep})
  endforeach()
  target_link_libraries(talvo_widgets INTERFACE talvo_ui_${name})
endfunction()
