# Installation and the Debian package.
#
# The programs go to bin/, the two libraries to lib/wordbay/ (the programs
# find them through their run path), the help pages and the sample word list
# to share/wordbay/, the menu entry and icon to their freedesktop places. The
# program keeps its dictionaries and settings in the user's data folder; its
# first start converts the installed FreeDict English-Croatian database there,
# or the sample when that is missing.

include(GNUInstallDirs)

set(wordbay_lib_dir ${CMAKE_INSTALL_LIBDIR}/wordbay)
set(wordbay_share_dir ${CMAKE_INSTALL_DATADIR}/wordbay)

# The shared files in the build tree as they are installed (share/wordbay
# beside bin/), so that the program run from there finds its help pages and
# its sample word list.
add_custom_target(wordbay_help ALL
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/help
            ${CMAKE_BINARY_DIR}/share/wordbay/help
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/data/kx-sample.txt
            ${CMAKE_BINARY_DIR}/share/wordbay/kx-sample.txt
    COMMENT "Copying the help pages and the sample word list")

set(wordbay_programs wordbay-cli)
if(TARGET wordbay)
    list(APPEND wordbay_programs wordbay)
endif()
set_target_properties(${wordbay_programs} PROPERTIES
    INSTALL_RPATH "$ORIGIN/../${wordbay_lib_dir}")
install(TARGETS ${wordbay_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS lexbase keysnare LIBRARY DESTINATION ${wordbay_lib_dir})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/help/ DESTINATION ${wordbay_share_dir}/help)
install(FILES ${PROJECT_SOURCE_DIR}/data/kx-sample.txt DESTINATION ${wordbay_share_dir})
install(FILES ${PROJECT_SOURCE_DIR}/data/wordbay.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/wordbay.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wordbay)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "wordbay developers <wordbay@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bilingual desktop dictionary with a global hot key")
set(CPACK_PACKAGE_DESCRIPTION
    "Type a word and see its translations in either direction; search with wildcards, \
regular expressions and anagram rules; edit, merge and import dictionaries; \
translate running text; look up the word selected in any program with one hot key.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), libqt6network6 (>= 6.4), qt6-qpa-plugins, libicu72, libpcre3, zlib1g, libespeak-ng1, libspeechd2, libpulse0, libx11-6, libxi6, libxtst6, libstdc++6, libc6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "dict-freedict-eng-hrv, espeak-ng-data, speech-dispatcher")
include(CPack)
