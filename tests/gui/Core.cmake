# Events, hooks, the queue and the layout arithmetic need no window.
tle_add_test(gui_event_queue_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/EventQueueTest.cpp LIBS tle_event)
tle_add_test(gui_layout_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/LayoutTest.cpp LIBS tle_gui)
tle_add_test(gui_file_filter_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/FileFilterTest.cpp LIBS tle_gui)
# Gadgets on the offscreen platform.
tle_add_test(gui_gadget_test GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/GadgetTest.cpp ${CMAKE_CURRENT_LIST_DIR}/HotKeyTest.cpp
  LIBS tle_gui Qt6::Test)
