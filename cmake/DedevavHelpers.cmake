# Shared settings for every target of the project.

function(dd_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
endfunction()

# A core library: standard C++ only. dd_check_core_links() refuses the
# configure when one reaches Qt.
function(dd_core_library name)
    add_library(${name} STATIC ${ARGN})
    dd_set_warnings(${name})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    dd_mark_core(${name})
endfunction()

function(dd_mark_core target)
    set_property(TARGET ${target} PROPERTY DD_CORE TRUE)
    set_property(GLOBAL APPEND PROPERTY DD_CORE_TARGETS ${target})
endfunction()

# Walks what every core target links, directly or through other targets, and
# stops the configure at the first Qt library found. Called once all targets
# exist. Every preset runs it: the default build has Qt installed, so without
# this a core target could link Qt there and only the core presets would
# notice, much later and with a less direct message.
function(dd_check_core_links)
    get_property(core_targets GLOBAL PROPERTY DD_CORE_TARGETS)
    foreach(core IN LISTS core_targets)
        get_target_property(is_core ${core} DD_CORE)
        if(is_core)
            _dd_check_no_qt(${core})
        endif()
    endforeach()
endfunction()

# One core target's walk, in its own scope so that the paths of one target
# do not leak into the next one's message.
function(_dd_check_no_qt core)
    set(pending ${core})
    set(seen "")
    set(via_${core} ${core})
    while(pending)
        list(POP_FRONT pending item)
        string(MAKE_C_IDENTIFIER "${item}" key)
        set(path "${via_${key}}")
        if(item MATCHES "(^|[^A-Za-z0-9_])Qt[0-9]*::" OR item MATCHES "(^|[/ ]|-l|lib)Qt[0-9]+[A-Z]")
            message(FATAL_ERROR
                "Core target ${core} links Qt (${path}). Core code uses the standard "
                "library only; move the Qt part into a desktop target.")
        endif()
        if(NOT TARGET ${item} OR key IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${key})
        get_target_property(aliased ${item} ALIASED_TARGET)
        if(aliased)
            set(links ${aliased})
        else()
            set(links "")
            get_target_property(imported ${item} IMPORTED)
            get_target_property(type ${item} TYPE)
            if(NOT imported AND NOT type STREQUAL "INTERFACE_LIBRARY")
                get_target_property(own ${item} LINK_LIBRARIES)
                if(own)
                    list(APPEND links ${own})
                endif()
            endif()
            get_target_property(interface ${item} INTERFACE_LINK_LIBRARIES)
            if(interface)
                list(APPEND links ${interface})
            endif()
        endif()
        foreach(link IN LISTS links)
            # A static library's private dependencies reach its users as
            # $<LINK_ONLY:...>; what is inside is linked all the same.
            string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
            if(link MATCHES "^::@")
                continue()
            endif()
            string(MAKE_C_IDENTIFIER "${link}" link_key)
            if(NOT DEFINED via_${link_key})
                set(via_${link_key} "${path} -> ${link}")
            endif()
            list(APPEND pending "${link}")
        endforeach()
    endwhile()
endfunction()

# A desktop library: may use Qt Core, Gui, Widgets and Svg.
function(dd_desktop_library name)
    add_library(${name} STATIC ${ARGN})
    dd_set_warnings(${name})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_compile_definitions(${name} PUBLIC QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
endfunction()

# A GoogleTest executable. Core tests carry the label "core" so the sanitizer
# builds can run exactly those, and are held to the core's no-Qt rule; desktop
# tests run on the offscreen platform.
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
        dd_mark_core(${T_NAME})
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
