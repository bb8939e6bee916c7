# Export definitions of the configuration API library, generated from the one
# ordinal table (api/ordinals.inc) and the list of implemented names
# (api/exports.txt). Run as a script:
#   cmake -DTABLE=ordinals.inc -DNAMES=exports.txt -DOUT=wlapi.def -P exports.cmake
#       writes the named export definition of the library: every listed
#       name at its ordinal, in ordinal order; with -DINC=exports.inc also
#       the same names as WL_EXPORT(name) lines for the export-table test.
#   cmake ... -DOUT=x.def -DDLL=WAVXQ48E.DLL -DBINARY=path/WAVXQ48E.dll
#         -DNM=nm -DDLLTOOL=dlltool -DLIB=libWAVXQ48E_ordinal.a -P exports.cmake
#       writes the NONAME definition of an import library that binds by
#       ordinal only and makes the library from it; the built binary's
#       symbols supply each stdcall name's argument-size decoration.
# A listed name that the table lacks, or one listed twice, stops the build.

file(STRINGS ${TABLE} rows REGEX "^WL_ORDINAL\\(")
foreach(row ${rows})
    string(REGEX REPLACE "^WL_ORDINAL\\(([0-9]+), *([A-Za-z0-9_]+)\\).*" "\\1;\\2" pair "${row}")
    list(GET pair 0 ord)
    list(GET pair 1 name)
    set(ORD_${name} ${ord})
endforeach()

file(STRINGS ${NAMES} lines)
set(listed)
foreach(line ${lines})
    string(REGEX REPLACE "#.*" "" line "${line}")
    string(STRIP "${line}" name)
    if(name STREQUAL "")
        continue()
    endif()
    if(NOT DEFINED ORD_${name})
        message(FATAL_ERROR "${NAMES}: ${name} has no ordinal in ${TABLE}")
    endif()
    if(DEFINED LISTED_${name})
        message(FATAL_ERROR "${NAMES}: ${name} listed twice")
    endif()
    set(LISTED_${name} 1)
    list(APPEND listed ${name})
endforeach()

if(DEFINED DLL)
    execute_process(COMMAND ${NM} -g --defined-only ${BINARY} OUTPUT_VARIABLE nmout RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${NM} ${BINARY} failed")
    endif()
    string(REGEX MATCHALL "[^\n]* T _WL[A-Za-z0-9_]*@[0-9]+" syms "${nmout}")
    foreach(s ${syms})
        string(REGEX REPLACE ".* T _(WL[A-Za-z0-9_]*)@([0-9]+)$" "\\1;\\2" pair "${s}")
        list(GET pair 0 name)
        list(GET pair 1 bytes)
        set(DECO_${name} "@${bytes}")
    endforeach()
endif()

# Ordinal order: sort "00042 Name" keys.
set(keyed)
foreach(name ${listed})
    string(LENGTH "${ORD_${name}}" n)
    math(EXPR pad "5 - ${n}")
    string(REPEAT "0" ${pad} zeros)
    list(APPEND keyed "${zeros}${ORD_${name}} ${name}")
endforeach()
list(SORT keyed)

if(DEFINED DLL)
    set(text "; Import library binding by ordinal only (generated).\nLIBRARY ${DLL}\nEXPORTS\n")
else()
    set(text "; Export table of the configuration API library (generated from\n; api/ordinals.inc and api/exports.txt).\nEXPORTS\n")
endif()
foreach(k ${keyed})
    string(REGEX REPLACE "^[0-9]+ " "" name "${k}")
    if(DEFINED DLL)
        string(APPEND text "    ${name}${DECO_${name}} @${ORD_${name}} NONAME\n")
    else()
        string(APPEND text "    ${name} @${ORD_${name}}\n")
    endif()
endforeach()

file(WRITE ${OUT} "${text}")
if(DEFINED INC)
    set(inc "/* Names the library exports (generated from exports.txt). */\n")
    foreach(k ${keyed})
        string(REGEX REPLACE "^[0-9]+ " "" name "${k}")
        string(APPEND inc "WL_EXPORT(${name})\n")
    endforeach()
    file(WRITE ${INC} "${inc}")
endif()
if(DEFINED DLL)
    execute_process(COMMAND ${DLLTOOL} -d ${OUT} -l ${LIB} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${DLLTOOL} -d ${OUT} failed")
    endif()
endif()
