# Installation and the Debian package.
#
# The programs go to bin/, the two libraries and wordbay-cli-engine to
# lib/<arch>/wordbay/ (the programs find them through their run path), the
# help pages and the sample word list to share/wordbay/, the menu entry and
# icon to their freedesktop places. The program keeps its dictionaries and
# settings in the user's data folder; its first start converts the installed
# FreeDict English-Croatian database there, or the sample when that is missing.

include(GNUInstallDirs)

# wordbay_lib_dir (the private libraries' folder) is set before the folders
# are read (CMakeLists.txt): wordbay-cli names it.
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
# The tool with the engine, which wordbay-cli runs in its place, beside the
# libraries it uses.
set_target_properties(wordbay-cli-engine PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS wordbay-cli-engine RUNTIME DESTINATION ${wordbay_lib_dir})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/help/ DESTINATION ${wordbay_share_dir}/help)
install(FILES ${PROJECT_SOURCE_DIR}/data/kx-sample.txt DESTINATION ${wordbay_share_dir})
install(FILES ${PROJECT_SOURCE_DIR}/data/wordbay.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/wordbay.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The Debian package's documents: the copyright file, the changelog and the
# manual pages, with the version and the maintainer filled in and compressed
# as Debian wants them (gzip -9n, no time stamp).
set(WORDBAY_MAINTAINER "wordbay developers <wordbay-devel@lists.wordbay.org>"
    CACHE STRING "The maintainer of the Debian package, \"Name <address>\"")
set(WORDBAY_HOMEPAGE "https://wordbay.org/" CACHE STRING "The project's home page")
set(wordbay_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/wordbay)
set(wordbay_packaging ${CMAKE_BINARY_DIR}/packaging)
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright ${wordbay_packaging}/copyright @ONLY)
set(wordbay_gzipped)
foreach(doc changelog wordbay.1 wordbay-cli.1)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/${doc} ${wordbay_packaging}/${doc} @ONLY)
    add_custom_command(
        OUTPUT ${wordbay_packaging}/${doc}.gz
        COMMAND gzip -9nfk ${wordbay_packaging}/${doc}
        DEPENDS ${wordbay_packaging}/${doc}
        COMMENT "Compressing ${doc}")
    list(APPEND wordbay_gzipped ${wordbay_packaging}/${doc}.gz)
endforeach()
add_custom_target(wordbay_docs ALL DEPENDS ${wordbay_gzipped})
install(FILES ${wordbay_packaging}/copyright DESTINATION ${wordbay_doc_dir})
# The version has no Debian revision, so the changelog is that of a native package.
install(FILES ${wordbay_packaging}/changelog.gz DESTINATION ${wordbay_doc_dir})
install(FILES ${wordbay_packaging}/wordbay.1.gz ${wordbay_packaging}/wordbay-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/data/wordbay.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME io.github.wordbay.wordbay.metainfo.xml)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wordbay)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${WORDBAY_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bilingual desktop dictionary with a global hot key")
# The extended description; CPack puts the summary before it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Type a word and see its translations in either direction; search with
wildcards, regular expressions and anagram rules; edit, merge and import
dictionaries; translate running text; look up the word selected in any
program with one hot key.

The first start converts the FreeDict English-Croatian dictionary of the
package dict-freedict-eng-hrv into the user's first dictionary.")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${WORDBAY_HOMEPAGE}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
# The libraries the binaries link come from dpkg-shlibdeps, with the version
# of whatever release builds the package; the program's own two libraries
# live in its private folder. The Qt platform plugins are loaded, not linked.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Spelling dictionaries help word forms (base words, suggestions) in the
# languages of the default dictionary; without them rules and the list serve.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "dict-freedict-eng-hrv, espeak-ng-data, speech-dispatcher, hunspell-en-us, hunspell-hr")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "hunspell-de-de, wordnet-base")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)

# The metainfo names the version being built among its releases.
add_test(NAME metainfo_names_this_version
    COMMAND grep -q "<release version=\"${PROJECT_VERSION}\""
            ${PROJECT_SOURCE_DIR}/data/wordbay.metainfo.xml)
set_tests_properties(metainfo_names_this_version PROPERTIES TIMEOUT 10)

# scripts/run.sh builds without the test packages: the tree must configure
# without GoogleTest and Google Benchmark.
add_test(NAME configures_without_the_test_packages
    COMMAND sh -c "rm -rf '${CMAKE_BINARY_DIR}/no-test-packages' && ${CMAKE_COMMAND} -S '${PROJECT_SOURCE_DIR}' -B '${CMAKE_BINARY_DIR}/no-test-packages' -G Ninja -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON > /dev/null && rm -rf '${CMAKE_BINARY_DIR}/no-test-packages'")
set_tests_properties(configures_without_the_test_packages PROPERTIES TIMEOUT 180)
