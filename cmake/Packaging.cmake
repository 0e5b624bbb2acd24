# Installing like any Linux program, and the Debian package built from the same rules
# (cpack -G DEB in the build directory). Included after the folders, whose targets it names.
include(GNUInstallDirs)

# The programs look for the stock filters beside themselves first; installed, bin/ holds no
# filter/, so they also know the installed directory: relative to bin/, which holds wherever
# the tree is installed or packaged, and as configured.
if(IS_ABSOLUTE "${TALDON_FILTER_INSTALL_DIR}")
    set(taldon_filter_dir "${TALDON_FILTER_INSTALL_DIR}")
else()
    set(taldon_filter_dir "${CMAKE_INSTALL_PREFIX}/${TALDON_FILTER_INSTALL_DIR}")
endif()
file(RELATIVE_PATH taldon_filter_from_bin
    "${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}" "${taldon_filter_dir}")
target_compile_definitions(taldon_model PRIVATE
    "TALDON_FILTER_DIR=\"${taldon_filter_dir}\""
    "TALDON_FILTER_DIR_FROM_BIN=\"${taldon_filter_from_bin}\"")

install(TARGETS taldon taldon-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/taldon.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/taldon-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME taldon.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME taldon)
set(CPACK_PACKAGE_VENDOR "Taldon developers")
set(CPACK_PACKAGE_CONTACT "Taldon developers <taldon@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop judge for programming contests and exams")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Judging compiles the submissions, so the compilers of the default compile commands belong
# to a working installation, and Qt's translations put its own dialogs into Chinese; Python and
# Java are the organiser's choice per task, and the CJK font only makes the window and reports
# legible.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "gcc, g++, fp-compiler, qttranslations5-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, python3, default-jdk-headless")
# The installed programs carry no debug information: the 27 filters alone would weigh 25 MB.
set(CPACK_STRIP_FILES ON)
include(CPack)
