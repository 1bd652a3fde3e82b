# Script tests of the installation, the Debian package and the launcher (install_test.sh).
set(QLC_INSTALL_TEST bash ${CMAKE_CURRENT_LIST_DIR}/install_test.sh)
add_test(NAME install_tree COMMAND ${QLC_INSTALL_TEST} tree ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR})
add_test(NAME install_deb COMMAND ${QLC_INSTALL_TEST} deb ${PROJECT_BINARY_DIR} ${PROJECT_VERSION})
add_test(NAME install_launcher COMMAND ${QLC_INSTALL_TEST} launcher ${PROJECT_SOURCE_DIR}/packaging/qlconvert-launch)
set_tests_properties(install_tree install_deb install_launcher PROPERTIES ENVIRONMENT "LC_ALL=C.UTF-8" TIMEOUT 300)
