# Shared settings for every target of the project.

function(dd_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
endfunction()

# A core library: standard C++ only. Linking Qt here is a build error.
function(dd_core_library name)
    add_library(${name} STATIC ${ARGN})
    dd_set_warnings(${name})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    set_property(TARGET ${name} PROPERTY DD_CORE TRUE)
endfunction()

# A desktop library: may use Qt Core, Gui, Widgets and Svg.
function(dd_desktop_library name)
    add_library(${name} STATIC ${ARGN})
    dd_set_warnings(${name})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_compile_definitions(${name} PUBLIC QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
endfunction()

# A GoogleTest executable. Core tests carry the label "core" so the sanitizer
# builds can run exactly those; desktop tests run on the offscreen platform.
#   dd_add_test(NAME <target> SOURCES ... LIBS ... [CORE])
function(dd_add_test)
    cmake_parse_arguments(T "CORE" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    dd_set_warnings(${T_NAME})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    target_compile_definitions(${T_NAME} PRIVATE
        DD_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
        DD_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    if(T_CORE)
        set(labels core)
        set(env "")
    else()
        set(labels desktop)
        set(env "QT_QPA_PLATFORM=offscreen")
    endif()
    gtest_discover_tests(${T_NAME}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS "${labels}" ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
