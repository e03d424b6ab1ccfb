# The Debian package: manual pages written by help2man from each program's --help and
# --version, the AppStream metainfo, the copyright file and changelog, a screenshot, and CPack's
# DEB generator over the install rules. Every date comes from SOURCE_DATE_EPOCH, so that the
# same commit gives the same bytes.

find_program(QV_HELP2MAN help2man REQUIRED)
find_program(QV_GZIP gzip REQUIRED)

set(QV_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}" CACHE STRING
    "Seconds since 1970 of the release; the last commit's time when empty")
if(QV_SOURCE_DATE_EPOCH STREQUAL "")
    execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE QV_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE git_failed ERROR_QUIET)
    if(git_failed OR NOT QV_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
        message(FATAL_ERROR "No SOURCE_DATE_EPOCH and no git commit to take it from")
    endif()
endif()
if(NOT QV_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds: ${QV_SOURCE_DATE_EPOCH}")
endif()
# string(TIMESTAMP) reads the date from the environment.
set(ENV{SOURCE_DATE_EPOCH} ${QV_SOURCE_DATE_EPOCH})
string(TIMESTAMP QV_RELEASE_ISO_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP QV_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)

set(QV_MAINTAINER "The Quorvane authors <quorvane@users.noreply.quorvane.invalid>" CACHE STRING
    "The package's maintainer, with an e-mail address")
# No public host serves the screenshot yet; the picture itself is shipped.
set(QV_SCREENSHOT_URL "https://quorvane.invalid/screenshots/zarechensk.png" CACHE STRING
    "Where software centres fetch the screenshot from")

set(package_dir ${PROJECT_BINARY_DIR}/package)
set(man_dir ${package_dir}/man)
set(doc_dir ${package_dir}/doc)

# Each program with the one line its manual page's NAME section gives.
set(QV_MANUAL_PAGES
    "quorvane|metro scheme viewer and route planner"
    "quorvane-headless|run the metro scheme program on a virtual screen from a script"
    "quorvane-mapcheck|check metro map files and show what they hold"
    "quorvane-route|find a route between two stations of a metro map"
    "quorvane-render|paint a metro map as the program shows it into a PNG picture"
    "quorvane-import|make metro map files from open data and check them"
    "quorvane-gdi-demo|draw a sample of every drawing operation into PNG pictures"
    "quorvane-window-demo|run a sample window with a timer and message boxes"
    "quorvane-gallery|draw every control of the program in each of its states"
    "quorvane-desktop-icon|draw the program's desktop icon")

set(man_pages)
foreach(entry IN LISTS QV_MANUAL_PAGES)
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 0 program)
    list(GET fields 1 summary)
    add_custom_command(
        OUTPUT ${man_dir}/${program}.1.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir}
        COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${QV_SOURCE_DATE_EPOCH} LC_ALL=C.UTF-8
                ${QV_HELP2MAN} --no-info --locale=C.UTF-8 --section=1 --name=${summary}
                --output=${man_dir}/${program}.1 $<TARGET_FILE:${program}>
        COMMAND ${QV_GZIP} -9nf ${man_dir}/${program}.1
        DEPENDS ${program}
        COMMENT "Manual page of ${program}"
        VERBATIM)
    list(APPEND man_pages ${man_dir}/${program}.1.gz)
endforeach()

configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${doc_dir}/changelog @ONLY)
add_custom_command(
    OUTPUT ${doc_dir}/changelog.gz
    COMMAND ${QV_GZIP} -9nkf ${doc_dir}/changelog
    DEPENDS ${doc_dir}/changelog
    VERBATIM)

set(screenshot ${package_dir}/screenshots/zarechensk.png)
add_custom_command(
    OUTPUT ${screenshot}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${package_dir}/screenshots
    COMMAND quorvane-render --scale 2 ${PROJECT_SOURCE_DIR}/maps/zarechensk.qvn ${screenshot}
    DEPENDS quorvane-render ${PROJECT_SOURCE_DIR}/maps/zarechensk.qvn
    COMMENT "Screenshot of the scheme"
    VERBATIM)

add_custom_target(package_parts ALL DEPENDS ${man_pages} ${doc_dir}/changelog.gz ${screenshot})

set(QV_APP_ID org.quorvane.quorvane)
set(QV_SCREENSHOT_FILE /usr/share/quorvane/screenshots/zarechensk.png)
configure_file(${PROJECT_SOURCE_DIR}/data/quorvane.metainfo.xml.in
               ${package_dir}/${QV_APP_ID}.metainfo.xml @ONLY)

install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${package_dir}/${QV_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${screenshot} DESTINATION ${CMAKE_INSTALL_DATADIR}/quorvane/screenshots)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${doc_dir}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorvane)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${QV_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QV_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The fonts are opened by path, which dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-dejavu-extra")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, xdg-user-dirs")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "metro scheme viewer and route planner")
file(READ ${PROJECT_SOURCE_DIR}/packaging/description CPACK_DEBIAN_PACKAGE_DESCRIPTION)
string(STRIP "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}" CPACK_DEBIAN_PACKAGE_DESCRIPTION)
configure_file(${PROJECT_SOURCE_DIR}/packaging/cpack_options.cmake.in
               ${package_dir}/cpack_options.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${package_dir}/cpack_options.cmake)
include(CPack)
