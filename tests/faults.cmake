# tst_faults starts append_worker to append from a process of its own: under a file size
# limit, or as an unprivileged user.
add_executable(append_worker ${CMAKE_CURRENT_LIST_DIR}/append_worker.cpp)
set_target_properties(append_worker PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
target_link_libraries(append_worker PRIVATE qlc_rules qlc_options)
if(TARGET tst_faults)
  add_dependencies(tst_faults append_worker)
  target_compile_definitions(tst_faults PRIVATE QLC_APPEND_WORKER="$<TARGET_FILE:append_worker>")
endif()
