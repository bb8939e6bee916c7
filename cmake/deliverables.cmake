# Helpers shared by the deliverables: static runtime, warnings, version
# resource, and one function that builds a deliverable once per variant.
set(WL_FILE_VERSION 8,24,0,629)
set(WL_FILE_VERSION_STR "8.24.0.629")
set(WL_PRODUCT_VERSION 8,24,0,0)
set(WL_PRODUCT_VERSION_STR "8.24")

# Adds a version resource to target, describing file `filename`.
function(wl_version_resource target filename description)
    set(WL_RES_FILENAME ${filename})
    set(WL_RES_DESCRIPTION ${description})
    if(filename MATCHES "\\.EXE$")
        set(WL_RES_FILETYPE VFT_APP)
    else()
        set(WL_RES_FILETYPE VFT_DLL)
    endif()
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
endfunction()

# Links the runtime statically so a deliverable imports only system DLLs.
function(wl_static_runtime target)
    target_link_options(${target} PRIVATE -static-libgcc -static-libstdc++ -static)
endfunction()

# Builds a deliverable once per product variant.
#
#   wl_add_variants(<name-stem> <SHARED|EXECUTABLE>
#       SOURCES <files...>            compiled into every variant
#       [VARIANTS <letters...>]       default: all of WL_VARIANTS
#       [DESCRIPTION <text>]          the version resource's description
#       [EXTENSION <ext>]             file name extension in the resource
#                                     (default DLL or EXE)
#       [LIBRARIES <libs...>]         linked privately into every variant
#       [OUT_TARGETS <var>])          receives the list of targets made
#
# Each variant is the target <name-stem><letter> (WAVXQ48 -> WAVXQ48C ...),
# output under the same name, compiled with WL_VARIANT_LETTER=<letter> and
# WL_VARIANT_NUMBER=<number>, with the warnings, the static runtime and a
# version resource naming the file. Further per-variant settings (an export
# definition, post-build steps) go on the returned targets.
function(wl_add_variants stem kind)
    cmake_parse_arguments(A "" "DESCRIPTION;EXTENSION;OUT_TARGETS" "SOURCES;VARIANTS;LIBRARIES" ${ARGN})
    if(NOT A_VARIANTS)
        set(A_VARIANTS ${WL_VARIANTS})
    endif()
    if(kind STREQUAL "SHARED")
        set(ext DLL)
    elseif(kind STREQUAL "EXECUTABLE")
        set(ext EXE)
    else()
        message(FATAL_ERROR "wl_add_variants: kind must be SHARED or EXECUTABLE, not ${kind}")
    endif()
    if(A_EXTENSION)
        set(ext ${A_EXTENSION})
    endif()
    set(made)
    foreach(v ${A_VARIANTS})
        set(t ${stem}${v})
        if(kind STREQUAL "SHARED")
            add_library(${t} SHARED ${A_SOURCES})
            set_target_properties(${t} PROPERTIES PREFIX "" IMPORT_PREFIX "lib" IMPORT_SUFFIX ".dll.a")
        else()
            add_executable(${t} ${A_SOURCES})
        endif()
        set_target_properties(${t} PROPERTIES OUTPUT_NAME ${t})
        target_compile_definitions(${t} PRIVATE
            WL_VARIANT_LETTER=${v} WL_VARIANT_NUMBER=${WL_VARIANT_NUM_${v}})
        target_compile_options(${t} PRIVATE ${WL_WARNINGS} -O2)
        target_link_options(${t} PRIVATE -Wl,--no-insert-timestamp)
        if(A_LIBRARIES)
            target_link_libraries(${t} PRIVATE ${A_LIBRARIES})
        endif()
        wl_static_runtime(${t})
        if(A_DESCRIPTION)
            wl_version_resource(${t} ${t}.${ext} "${A_DESCRIPTION}")
        endif()
        list(APPEND made ${t})
    endforeach()
    if(A_OUT_TARGETS)
        set(${A_OUT_TARGETS} ${made} PARENT_SCOPE)
    endif()
endfunction()
