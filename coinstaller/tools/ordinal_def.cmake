# Writes the .def of an import library that binds the API library by
# ordinal only: each function of the export table (ORDINALS, the
# WL_ORDINAL list) at its ordinal, NONAME, under its stdcall symbol as the
# library's objects (listed in OBJECTS_FILE, '|'-separated) define it. Functions the
# objects do not define are left out.
#   cmake -DORDINALS=... -DOBJECTS_FILE=... -DNM=... -DDLL=... -DOUT=... -P ordinal_def.cmake
file(READ ${OBJECTS_FILE} objects)
string(REPLACE "|" ";" objects "${objects}")
execute_process(COMMAND ${NM} -g --defined-only ${objects} OUTPUT_VARIABLE syms RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "nm failed")
endif()
string(REGEX MATCHALL " T _WL[A-Za-z0-9_]*@[0-9]+" decorated "${syms}")
foreach(d ${decorated})
    string(REGEX REPLACE " T _(WL[A-Za-z0-9_]*)@([0-9]+)" "\\1;\\2" pair "${d}")
    list(GET pair 0 name)
    list(GET pair 1 bytes)
    set(args_${name} ${bytes})
endforeach()
file(STRINGS ${ORDINALS} lines REGEX "^WL_ORDINAL")
set(text "LIBRARY ${DLL}\nEXPORTS\n")
foreach(line ${lines})
    string(REGEX REPLACE "^WL_ORDINAL\\(([0-9]+), *([A-Za-z0-9_]+)\\).*" "\\1;\\2" pair "${line}")
    list(GET pair 0 ord)
    list(GET pair 1 name)
    if(DEFINED args_${name})
        string(APPEND text "    ${name}@${args_${name}} @${ord} NONAME\n")
    endif()
endforeach()
file(WRITE ${OUT}.tmp "${text}")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUT}.tmp ${OUT})
