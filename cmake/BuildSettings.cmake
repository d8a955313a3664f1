# The application's identity and the maker's addresses, set at build time in
# this one place and shared by the document model, the application shell and
# gelcoat-render.  Override any of them with -D on the cmake command line.
set(GELCOAT_APP_NAME "Gelcoat" CACHE STRING "Application name shown to the user")
set(GELCOAT_APP_VERSION "${PROJECT_VERSION}" CACHE STRING "Application version")
set(GELCOAT_APP_IDENTIFIER "org.example.gelcoat" CACHE STRING
  "Application identifier, matched against the published version list")
set(GELCOAT_MAKER_WEB_SITE "https://www.example.org/" CACHE STRING
  "The maker's web site (scheme, host and a trailing slash)")
set(GELCOAT_SUPPORT_ADDRESS "support@example.org" CACHE STRING "Support e-mail address")
set(GELCOAT_CREDIT_LINE "The Gelcoat developers (%@)" CACHE STRING
  "About panel credit line; %@ stands for the support address")
set(GELCOAT_NOTICE_LINE "Copyright (c) 2026 the Gelcoat developers" CACHE STRING
  "About panel notice line")
set(GELCOAT_UI_ELEMENT "0" CACHE STRING
  "\"1\" runs the application as a user-interface element: its panels float above other windows")

configure_file(${CMAKE_CURRENT_LIST_DIR}/BuildSettings.h.in
  ${PROJECT_BINARY_DIR}/generated/BuildSettings.h @ONLY)
add_library(gelcoat_build_settings INTERFACE)
target_include_directories(gelcoat_build_settings INTERFACE ${PROJECT_BINARY_DIR}/generated)
