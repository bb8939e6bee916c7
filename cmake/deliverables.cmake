# Helpers shared by the deliverables: static runtime, warnings, version resource.
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
