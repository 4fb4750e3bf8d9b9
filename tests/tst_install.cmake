# Installs the build into a fresh prefix and checks the layout: the program with everything
# it finds beside itself in one folder of its own, and a command in bin that leads to it;
# then what the manifest lists and what a second install keeps.
# Run with -DBUILD=<build folder> -DPREFIX=<folder to install into>.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "install failed: ${result}")
endif()

file(GLOB_RECURSE found RELATIVE "${PREFIX}" LIST_DIRECTORIES false "${PREFIX}/*")
list(SORT found)
set(expected bin/brivomarte lib/brivomarte/English.lng lib/brivomarte/Italiano.lng
    lib/brivomarte/LangSetting.ini lib/brivomarte/brivomarte lib/brivomarte/brivomarte.pdf
    lib/brivomarte/docdid.pdf lib/brivomarte/documento.pdf lib/brivomarte/suoni/no.wav
    lib/brivomarte/suoni/si.wav)
if(NOT found STREQUAL expected)
    message(FATAL_ERROR "installed files:\n  ${found}\nexpected:\n  ${expected}")
endif()

if(NOT IS_SYMLINK "${PREFIX}/bin/brivomarte")
    message(FATAL_ERROR "bin/brivomarte is not a link")
endif()
file(READ_SYMLINK "${PREFIX}/bin/brivomarte" target)
if(IS_ABSOLUTE "${target}")
    message(FATAL_ERROR "bin/brivomarte points at an absolute path (${target}): the prefix cannot move")
endif()
file(REAL_PATH "${PREFIX}/bin/brivomarte" real)
file(REAL_PATH "${PREFIX}/lib/brivomarte/brivomarte" program)
if(NOT real STREQUAL program)
    message(FATAL_ERROR "bin/brivomarte leads to ${real}, not to ${program}")
endif()

# The manifest lists every file and the link, so that removing what it lists (the usual
# uninstall) leaves nothing behind, not even a dangling link.
set(manifest_file "${BUILD}/install_manifest.txt")
function(check_manifest)
    file(STRINGS "${manifest_file}" listed)
    set(manifest)
    foreach(path ${listed})
        file(RELATIVE_PATH relative "${PREFIX}" "${path}")
        list(APPEND manifest "${relative}")
    endforeach()
    list(SORT manifest)
    if(NOT manifest STREQUAL expected)
        message(FATAL_ERROR "install_manifest.txt lists:\n  ${manifest}\nexpected:\n  ${expected}")
    endif()
endfunction()
check_manifest()

# A second install keeps the language the user chose, and still lists the setting file.
set(setting "${PREFIX}/lib/brivomarte/LangSetting.ini")
file(WRITE "${setting}" "[Language]\nCurrentLanguage=English\n")
file(READ "${setting}" chosen)
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "second install failed: ${result}")
endif()
file(READ "${setting}" kept)
string(COMPARE EQUAL "${kept}" "${chosen}" same)
if(NOT same)
    message(FATAL_ERROR "a second install replaced the language setting:\n${kept}")
endif()
check_manifest()

file(STRINGS "${manifest_file}" manifest)
file(REMOVE ${manifest})
file(GLOB_RECURSE left RELATIVE "${PREFIX}" LIST_DIRECTORIES false "${PREFIX}/*")
if(left)
    message(FATAL_ERROR "removing what install_manifest.txt lists leaves: ${left}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
