# SPDX-License-Identifier: GPL-3.0-or-later
# The version record's equivalent on ELF systems: the record's texts, with the
# project's one version, compiled into a program as data that readelf lists.
#
#   tarvin_add_version_record(<target>
#       FILE_DESCRIPTION <text> INTERNAL_NAME <text> PRODUCT_NAME <text>)
#
# The original file name is the target's output name, the file that ships.

set(TARVIN_VERSION_RECORD_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/VersionRecord.cpp.in)

# The section that holds the record; the tests read it back under this name.
set(TARVIN_VERSION_RECORD_SECTION tarvin_version)

function(tarvin_add_version_record target)
    cmake_parse_arguments(PARSE_ARGV 1 RECORD ""
        "FILE_DESCRIPTION;INTERNAL_NAME;PRODUCT_NAME" "")
    set(TARVIN_RECORD_FILE_DESCRIPTION ${RECORD_FILE_DESCRIPTION})
    set(TARVIN_RECORD_INTERNAL_NAME ${RECORD_INTERNAL_NAME})
    set(TARVIN_RECORD_PRODUCT_NAME ${RECORD_PRODUCT_NAME})
    get_target_property(output_name ${target} OUTPUT_NAME)
    if(NOT output_name)
        set(output_name ${target})
    endif()
    set(TARVIN_RECORD_ORIGINAL_FILENAME ${output_name})
    set(source ${CMAKE_BINARY_DIR}/generated/version-record/${target}.cpp)
    configure_file(${TARVIN_VERSION_RECORD_TEMPLATE} ${source} @ONLY)
    target_sources(${target} PRIVATE ${source})
endfunction()
