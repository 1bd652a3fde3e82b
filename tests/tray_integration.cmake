# The tray on a private X server with a real tray host (Xvfb, trayer, xdotool).
add_test(NAME tray_integration
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tray_integration.sh $<TARGET_FILE:qlconvert>)
set_tests_properties(tray_integration PROPERTIES
  ENVIRONMENT "LC_ALL=C.UTF-8;LANG=C.UTF-8"
  TIMEOUT 120
  SKIP_RETURN_CODE 77)
