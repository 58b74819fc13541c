# The text area: its text model without a window, and the gadget on the offscreen platform.
tle_add_test(gui_text_buffer_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/TextBufferTest.cpp LIBS tle_gui)
tle_add_test(gui_text_area_test GUI SOURCES ${CMAKE_CURRENT_LIST_DIR}/TextAreaTest.cpp LIBS tle_gui Qt6::Test)
