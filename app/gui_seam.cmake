target_sources(q93gui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/gui_seam.cpp ${CMAKE_CURRENT_LIST_DIR}/progress_popup_widget.cpp)
