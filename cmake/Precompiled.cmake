# Precompiled headers. Most of a build's time went on parsing the same standard, Qt and
# GoogleTest headers again for every file; each target now parses them once. The lists hold the
# headers that most files of such a target include anyway, so a file sees nothing it would not
# have seen. Q93_PRECOMPILE=OFF builds without them (to check that every file includes what it
# uses).
option(Q93_PRECOMPILE "precompile the common standard, Qt and GoogleTest headers" ON)

set(Q93_PCH_STD
    <algorithm> <array> <atomic> <cerrno> <chrono> <cmath> <cstdint> <cstdio> <cstdlib>
    <cstring> <filesystem> <functional> <map> <memory> <mutex> <optional> <span> <string>
    <string_view> <thread> <vector>)
set(Q93_PCH_QT
    <QApplication> <QCheckBox> <QComboBox> <QDialog> <QKeyEvent> <QLabel> <QLineEdit> <QMenu>
    <QPainter> <QPushButton> <QRadioButton> <QString> <QTableWidget> <QTimer> <QWidget>)
set(Q93_PCH_QTTEST <QTest>)
set(Q93_PCH_GTEST <gtest/gtest.h>)
# The JSON library is one header of 25,000 lines; half of q93ctl's files reach it.
set(Q93_PCH_JSON <nlohmann/json.hpp>)

# q93_precompile(TARGET KIND...): KIND is any of std, qt, qttest, gtest, json.
function(q93_precompile target)
    if(NOT Q93_PRECOMPILE)
        return()
    endif()
    set(_headers "")
    foreach(_kind IN LISTS ARGN)
        string(TOUPPER ${_kind} _kind)
        list(APPEND _headers ${Q93_PCH_${_kind}})
    endforeach()
    target_precompile_headers(${target} PRIVATE ${_headers})
endfunction()

# q93_precompile_like(TARGET OTHER): TARGET takes OTHER's precompiled headers as they are, so
# forty test programs share two of them instead of parsing their own. Both must be built with
# the same flags and definitions.
function(q93_precompile_like target other)
    if(Q93_PRECOMPILE)
        target_precompile_headers(${target} REUSE_FROM ${other})
    endif()
endfunction()
