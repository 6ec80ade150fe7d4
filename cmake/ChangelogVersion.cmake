# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian changelog names the version of its newest entry on its first line:
#   tarvin (VERSION) DISTRIBUTION; urgency=URGENCY
# The project's version is defined once, by project() in the top-level
# CMakeLists.txt; a changelog whose newest entry names another version stops
# the configuration, so no build, and no package, can carry two versions. An
# epoch ("1:") and a Debian revision ("-2") are not part of the project's
# version and are left out of the comparison.
#
# Included by the top-level CMakeLists.txt; the tests run it on its own:
#   cmake -DCHANGELOG=FILE -DVERSION=V -P ChangelogVersion.cmake
#   cmake -DCHANGELOG=FILE -DDATE=YYYY-MM-DD -P ChangelogVersion.cmake

# The version of the newest entry without epoch and revision, or an empty text
# when the first line is no entry heading.
function(tarvin_changelog_version changelog result)
    file(STRINGS ${changelog} heading LIMIT_COUNT 1)
    set(version "")
    if(heading MATCHES "^[a-z0-9][a-z0-9.+-]+ \\(([^() ]+)\\) [^;]+; ")
        string(REGEX REPLACE "^[0-9]+:" "" version "${CMAKE_MATCH_1}")
        string(REGEX REPLACE "-[^-]*$" "" version "${version}")
    endif()
    set(${result} "${version}" PARENT_SCOPE)
endfunction()

# The date of the newest entry as YYYY-MM-DD, from its trailer line
#   " -- NAME <EMAIL>  Wed, 09 Dec 2026 02:59:53 +0000",
# or an empty text when the entry has no such line. The AppStream release takes it, so the
# metadata and the changelog name the same release.
function(tarvin_changelog_date changelog result)
    file(STRINGS ${changelog} trailers REGEX "^ -- " LIMIT_COUNT 1)
    set(date "")
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    if(trailers MATCHES "  [A-Z][a-z][a-z], ([0-9]?[0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
        set(day ${CMAKE_MATCH_1})
        set(year ${CMAKE_MATCH_3})
        list(FIND months ${CMAKE_MATCH_2} month)
        if(month GREATER_EQUAL 0)
            math(EXPR month "${month} + 1")
            string(LENGTH "${day}" day_length)
            if(day_length EQUAL 1)
                set(day 0${day})
            endif()
            if(month LESS 10)
                set(month 0${month})
            endif()
            set(date ${year}-${month}-${day})
        endif()
    endif()
    set(${result} "${date}" PARENT_SCOPE)
endfunction()

function(tarvin_check_changelog_version changelog version)
    tarvin_changelog_version(${changelog} named)
    if(NOT named STREQUAL version)
        if(named STREQUAL "")
            set(named "no version")
        endif()
        message(FATAL_ERROR "${changelog} names ${named} in its newest entry, but the "
                            "project's version is ${version}: add an entry for ${version} "
                            "(dch -v ${version}) or correct the version in project()")
    endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND DEFINED CHANGELOG AND DEFINED DATE)
    tarvin_changelog_date(${CHANGELOG} found)
    if(NOT found STREQUAL DATE)
        message(FATAL_ERROR "${CHANGELOG}: newest entry dated '${found}', not '${DATE}'")
    endif()
elseif(CMAKE_SCRIPT_MODE_FILE AND DEFINED CHANGELOG)
    tarvin_check_changelog_version(${CHANGELOG} ${VERSION})
endif()
