# The bundle's Info property list is where Awning's name, version and addresses are written down: the
# build reads them from there rather than repeating them. Included before project(), which takes the
# version.
set(AWNING_INFO_PLIST ${CMAKE_CURRENT_LIST_DIR}/../resources/Info.plist)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${AWNING_INFO_PLIST})
file(READ ${AWNING_INFO_PLIST} awning_info_plist)

# awning_info_string(VARIABLE KEY): the string the property list gives KEY; configuring fails without one.
function(awning_info_string variable key)
    if(NOT awning_info_plist MATCHES "<key>${key}</key>[ \t\r\n]*<string>([^<]+)</string>")
        message(FATAL_ERROR "${AWNING_INFO_PLIST} gives ${key} no string")
    endif()
    set(${variable} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

awning_info_string(AWNING_VERSION CFBundleShortVersionString)
awning_info_string(AWNING_BUNDLE_IDENTIFIER CFBundleIdentifier)
awning_info_string(AWNING_EULA_URL KRMakerEULAURL)
awning_info_string(AWNING_SITE_URL KRMakerSiteURL)
string(REGEX REPLACE "^[a-z]+://([^/:]+).*" "\\1" AWNING_SITE_HOST "${AWNING_SITE_URL}")
awning_info_string(AWNING_NAME CFBundleName)
awning_info_string(AWNING_COPYRIGHT NSHumanReadableCopyright)
# The maker, as the copyright line names it: "Copyright © 2026 Larkspur. All rights reserved."
if(NOT AWNING_COPYRIGHT MATCHES "[0-9]+ ([^.]+)\\.")
    message(FATAL_ERROR "${AWNING_INFO_PLIST}: no maker in the copyright line \"${AWNING_COPYRIGHT}\"")
endif()
set(AWNING_MAKER "${CMAKE_MATCH_1}")
# The product page is the site's address followed by the name in lower case, as the update menu makes it.
string(TOLOWER "${AWNING_NAME}" awning_page_name)
string(REPLACE " " "" awning_page_name "${awning_page_name}")
set(AWNING_PRODUCT_PAGE "${AWNING_SITE_URL}${awning_page_name}")
