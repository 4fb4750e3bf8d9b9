# Installs the build into a fresh prefix and checks the layout: the program with everything
# it finds beside itself in one folder of its own, and a command in bin that leads to it.
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
file(REMOVE_RECURSE "${PREFIX}")
