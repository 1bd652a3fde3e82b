# The tray on private X servers with real window managers and tray hosts, and under a headless
# Wayland compositor with and without a host (tray_integration.sh).
# The three long runs are cut in two halves that run side by side.
foreach(run IN ITEMS xembed_openbox_1 xembed_openbox_2 xembed_xfwm4_1 xembed_xfwm4_2 sni_openbox_1
                     sni_openbox_2 none_xfwm4 sni_weston none_weston)
  string(REPLACE "_" ";" run_args ${run})
  add_test(NAME tray_${run} COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tray_integration.sh $<TARGET_FILE:qlconvert> ${run_args})
  set_tests_properties(tray_${run} PROPERTIES ENVIRONMENT "LC_ALL=C.UTF-8;LANG=C.UTF-8" TIMEOUT 600 SKIP_RETURN_CODE 77)
endforeach()
