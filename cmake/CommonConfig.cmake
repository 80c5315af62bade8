# Flags every target shares: the language standard and the warnings.
add_library(talvo_common INTERFACE)
target_compile_features(talvo_common INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(talvo_common INTERFACE -Wall -Wextra)
# Warnings are errors where the compiler is known (scripts/test and CI turn it
# on); a user's or a packager's build with another compiler only warns.
option(TALVO_WERROR "Treat compiler warnings as errors" OFF)
if(TALVO_WERROR)
  target_compile_options(talvo_common INTERFACE -Werror)
endif()

# Qt-only defines, for the widgets layer and what builds on it.
add_library(talvo_qt_flags INTERFACE)
target_compile_definitions(talvo_qt_flags INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_URL_CAST_FROM_STRING
  QT_NO_CONTEXTLESS_CONNECT QT_NO_KEYWORDS)

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

# The sanitizer build (scripts/test runs one without Qt): every target checked
# by AddressSanitizer and UndefinedBehaviorSanitizer, any finding a failure.
option(TALVO_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(TALVO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
