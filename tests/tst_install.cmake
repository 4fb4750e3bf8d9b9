# Installs the build into a fresh prefix and checks the layout: the program with everything
# it finds beside itself in one folder of its own, and a command in bin that leads to it;
# then what the manifest lists, what a second install keeps, and what a staged install
# (DESTDIR, as a package build makes) lists.
# Run with -DBUILD=<build folder> -DPREFIX=<folder to install into>; the folders beside
# PREFIX whose names begin with it are the test's too.

# The build's manifest is what the user's own last install wrote, and what the usual
# uninstall reads: the test's installs write there too, so it is put aside first and put
# back at the end as it was (or removed, if there was none), also when a check fails. One
# left aside by a run that was killed is put back first.
set(manifest_file "${BUILD}/install_manifest.txt")
set(kept "${PREFIX}-manifest-kept")
if(EXISTS "${kept}")
    file(RENAME "${kept}" "${manifest_file}")
endif()
# What the manifest is, by its content and time, or "none".
function(fingerprint out)
    set(f "none")
    if(EXISTS "${manifest_file}")
        file(SHA256 "${manifest_file}" f)
        file(TIMESTAMP "${manifest_file}" at "%Y-%m-%dT%H:%M:%S" UTC)
        string(APPEND f " ${at}")
    endif()
    set(${out} "${f}" PARENT_SCOPE)
endfunction()
fingerprint(found_as)
if(EXISTS "${manifest_file}")
    file(RENAME "${manifest_file}" "${kept}")
endif()
function(put_back)
    if(EXISTS "${kept}")
        file(RENAME "${kept}" "${manifest_file}")
    else()
        file(REMOVE "${manifest_file}")
    endif()
endfunction()
function(fail text)
    put_back()
    message(FATAL_ERROR "${text}")
endfunction()

function(install_build what)
    execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" ${ARGN} RESULT_VARIABLE result OUTPUT_QUIET)
    if(NOT result EQUAL 0)
        fail("${what} failed: ${result}")
    endif()
endfunction()

file(REMOVE_RECURSE "${PREFIX}")
install_build("install" --prefix "${PREFIX}")

set(expected bin/brivomarte lib/brivomarte/English.lng lib/brivomarte/Italiano.lng
    lib/brivomarte/LangSetting.ini lib/brivomarte/brivomarte lib/brivomarte/brivomarte.pdf
    lib/brivomarte/docdid.pdf lib/brivomarte/documento.pdf lib/brivomarte/suoni/no.wav
    lib/brivomarte/suoni/si.wav)
function(check_installed root)
    file(GLOB_RECURSE found RELATIVE "${root}" LIST_DIRECTORIES false "${root}/*")
    list(SORT found)
    if(NOT found STREQUAL expected)
        fail("installed files:\n  ${found}\nexpected:\n  ${expected}")
    endif()
endfunction()
check_installed("${PREFIX}")

if(NOT IS_SYMLINK "${PREFIX}/bin/brivomarte")
    fail("bin/brivomarte is not a link")
endif()
file(READ_SYMLINK "${PREFIX}/bin/brivomarte" target)
if(IS_ABSOLUTE "${target}")
    fail("bin/brivomarte points at an absolute path (${target}): the prefix cannot move")
endif()
file(REAL_PATH "${PREFIX}/bin/brivomarte" real)
file(REAL_PATH "${PREFIX}/lib/brivomarte/brivomarte" program)
if(NOT real STREQUAL program)
    fail("bin/brivomarte leads to ${real}, not to ${program}")
endif()

# The manifest lists every file and the link, each by its path under the prefix, so that
# removing what it lists (the usual uninstall) leaves nothing behind, not even a dangling link.
function(check_manifest prefix)
    file(STRINGS "${manifest_file}" listed)
    set(manifest)
    foreach(path ${listed})
        file(RELATIVE_PATH relative "${prefix}" "${path}")
        if(relative MATCHES "^\\.\\./")
            fail("install_manifest.txt lists ${path}, outside ${prefix}")
        endif()
        list(APPEND manifest "${relative}")
    endforeach()
    list(SORT manifest)
    if(NOT manifest STREQUAL expected)
        fail("install_manifest.txt lists:\n  ${manifest}\nexpected:\n  ${expected}")
    endif()
endfunction()
# Removes what the manifest lists, under `destdir`, and checks that nothing is left in `root`.
function(remove_listed destdir root)
    file(STRINGS "${manifest_file}" listed)
    list(TRANSFORM listed PREPEND "${destdir}")
    file(REMOVE ${listed})
    file(GLOB_RECURSE left LIST_DIRECTORIES false "${root}/*")
    if(left)
        fail("removing what install_manifest.txt lists leaves: ${left}")
    endif()
endfunction()
check_manifest("${PREFIX}")

# A second install keeps the language the user chose, and still lists the setting file.
set(setting "${PREFIX}/lib/brivomarte/LangSetting.ini")
file(WRITE "${setting}" "[Language]\nCurrentLanguage=English\n")
file(READ "${setting}" chosen)
install_build("second install" --prefix "${PREFIX}")
file(READ "${setting}" kept_setting)
string(COMPARE EQUAL "${kept_setting}" "${chosen}" same)
if(NOT same)
    fail("a second install replaced the language setting:\n${kept_setting}")
endif()
check_manifest("${PREFIX}")
remove_listed("" "${PREFIX}")
file(REMOVE_RECURSE "${PREFIX}")

# A staged install puts the files under DESTDIR and lists them all, as CMake lists its
# own, by their final paths. The final prefix lies in the test's own folders too, so that
# a file installed past DESTDIR lands where the test sees it, not in the system.
set(stage "${PREFIX}-stage")
set(final "${PREFIX}-final")
file(REMOVE_RECURSE "${stage}" "${final}")
set(ENV{DESTDIR} "${stage}")
install_build("staged install" --prefix "${final}")
unset(ENV{DESTDIR})
if(EXISTS "${final}")
    fail("a staged install wrote into its final prefix ${final}")
endif()
check_installed("${stage}${final}")
check_manifest("${final}")
remove_listed("${stage}" "${stage}")
file(REMOVE_RECURSE "${stage}")

put_back()
fingerprint(left_as)
if(NOT left_as STREQUAL found_as)
    message(FATAL_ERROR "install_manifest.txt was found as ${found_as}, left as ${left_as}")
endif()
