# The Windows registry backend is compiled only on Windows; here it is at least checked
# for syntax with Debian's mingw-w64 cross compiler. It needs no Qt.
if(NOT WIN32)
  add_test(NAME mingw_registry
    COMMAND sh -c "if ! command -v x86_64-w64-mingw32-g++ >/dev/null 2>&1; then echo 'skipped: x86_64-w64-mingw32-g++ (package g++-mingw-w64-x86-64) is not installed'; exit 77; fi; exec x86_64-w64-mingw32-g++ -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Werror -I\"$0/src\" \"$0/src/platform/registry_win.cpp\""
      ${PROJECT_SOURCE_DIR})
  set_tests_properties(mingw_registry PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
endif()

# No folder of src/ includes one of a higher layer.
add_test(NAME layers COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/layers.sh ${PROJECT_SOURCE_DIR})
