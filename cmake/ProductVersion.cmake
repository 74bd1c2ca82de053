# SPDX-License-Identifier: GPL-3.0-or-later
# The product version text of the version resource (resources/version.ini, section [Strings],
# value ProductVersion), for the pages and the package that name it:
#   VELMARO_PRODUCT_VERSION  as the programs print it, "2.25 beta"
#   VELMARO_PACKAGE_VERSION  as a Debian version, blanks turned into "~" so that a pre-release
#                            sorts before the release ("2.25~beta" < "2.25")

file(STRINGS ${PROJECT_SOURCE_DIR}/resources/version.ini version_lines)
set(section "")
set(VELMARO_PRODUCT_VERSION "")
foreach(line IN LISTS version_lines)
    if(line MATCHES "^\\[(.*)\\]$")
        set(section "${CMAKE_MATCH_1}")
    elseif(section STREQUAL "Strings" AND line MATCHES "^ProductVersion=(.*)$")
        set(VELMARO_PRODUCT_VERSION "${CMAKE_MATCH_1}")
    endif()
endforeach()
if(NOT VELMARO_PRODUCT_VERSION MATCHES "^[0-9][A-Za-z0-9.+ -]*$")
    message(FATAL_ERROR "resources/version.ini: [Strings] ProductVersion "
                        "'${VELMARO_PRODUCT_VERSION}' does not start with a digit or holds "
                        "characters a package version cannot carry")
endif()
string(REPLACE " " "~" VELMARO_PACKAGE_VERSION "${VELMARO_PRODUCT_VERSION}")
