tle_add_test(gui_canvas_test GUI SOURCES ${CMAKE_CURRENT_LIST_DIR}/CanvasTest.cpp LIBS tle_gui tle_draw Qt6::Test)
