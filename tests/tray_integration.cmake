# The tray on private X servers with real window managers and tray hosts: XEmbed under two
# window managers, StatusNotifierItem, and no tray at all (tray_integration.sh).
foreach(run IN ITEMS "xembed openbox" "xembed xfwm4" "sni openbox" "none xfwm4")
  string(REPLACE " " "_" name "tray_${run}")
  separate_arguments(run_args UNIX_COMMAND "${run}")
  add_test(NAME ${name}
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tray_integration.sh $<TARGET_FILE:qlconvert> ${run_args})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "LC_ALL=C.UTF-8;LANG=C.UTF-8"
    TIMEOUT 600
    SKIP_RETURN_CODE 77)
endforeach()
