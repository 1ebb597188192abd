cmake_minimum_required(VERSION 3.25)
# Installs the build into a fresh prefix, checks the tree and its desktop
# files, and runs the installed program from another folder.
#   cmake -DBUILD=... -DWORK=... -DSAMPLE=... -P InstallTest.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/elsewhere ${WORK}/out ${WORK}/home ${WORK}/runtime)
set(P ${WORK}/prefix)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${P}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()
set(id example.orvella.tarvix)
foreach(f bin/tarvix lib/tarvix/libtarvix-engine.so lib/tarvix/libtarvix-image.so lib/tarvix/libtarvix-thumbnail.so lib/tarvix/libtarvix-draw.so
          lib/tarvix/libtarvix-ui.so share/tarvix/gfx/handdrawn.zip share/tarvix/gfx/tiles.zip
          share/tarvix/manual/index.html share/applications/${id}.desktop
          share/metainfo/${id}.metainfo.xml share/thumbnailers/tarvix.thumbnailer
          share/man/man1/tarvix.1.gz share/doc/tarvix/LICENSE share/doc/tarvix/copyright share/doc/tarvix/THIRD-PARTY-NOTICES
          share/icons/hicolor/16x16/apps/${id}.png share/icons/hicolor/256x256/apps/${id}.png
          share/icons/hicolor/scalable/apps/${id}.svg share/bash-completion/completions/tarvix
          share/zsh/vendor-completions/_tarvix share/fish/vendor_completions.d/tarvix.fish)
  if(NOT EXISTS ${P}/${f})
    message(FATAL_ERROR "missing after install: ${f}")
  endif()
endforeach()

macro(validate tool)
  find_program(found_${tool} ${tool})
  if(found_${tool})
    execute_process(COMMAND ${found_${tool}} ${ARGN} RESULT_VARIABLE status ERROR_VARIABLE err
                    OUTPUT_VARIABLE out)
    if(NOT status EQUAL 0 OR err MATCHES "warning")
      message(FATAL_ERROR "${tool} ${ARGN}: ${out}${err}")
    endif()
  else()
    message(STATUS "skipped: ${tool} is not installed (scripts/setup.sh installs it)")
  endif()
endmacro()
validate(desktop-file-validate ${P}/share/applications/${id}.desktop)
validate(appstreamcli validate --no-net ${P}/share/metainfo/${id}.metainfo.xml)
validate(groff -man -ww -z ${BUILD}/tarvix.1)
validate(man -l ${P}/share/man/man1/tarvix.1.gz)

# The installed program, run from a folder of its own, converts the sample.
execute_process(COMMAND ${CMAKE_COMMAND} -E env HOME=${WORK}/home XDG_CONFIG_HOME=${WORK}/home/cfg
                        XDG_RUNTIME_DIR=${WORK}/runtime QT_QPA_PLATFORM=offscreen
                        ${P}/bin/tarvix -q -i ${SAMPLE} -o ${WORK}/out
                WORKING_DIRECTORY ${WORK}/elsewhere RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT EXISTS ${WORK}/out/orvella-sample.jpg)
  message(FATAL_ERROR "the installed program did not convert the sample: ${status} ${err}")
endif()
# And finds its themes and manual: the screenshot start draws with them.
execute_process(COMMAND ${CMAKE_COMMAND} -E env HOME=${WORK}/home XDG_CONFIG_HOME=${WORK}/home/cfg
                        XDG_RUNTIME_DIR=${WORK}/runtime QT_QPA_PLATFORM=offscreen
                        ${P}/bin/tarvix -T ${WORK}/out
                WORKING_DIRECTORY ${WORK}/elsewhere RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT EXISTS ${WORK}/out/tarvix1.jpg)
  message(FATAL_ERROR "the installed program took no screenshots")
endif()
# The thumbnailer entry's Exec line, with %s %i %o filled in as file managers do.
file(STRINGS ${P}/share/thumbnailers/tarvix.thumbnailer exec REGEX "^Exec=")
string(REGEX REPLACE "^Exec=" "" exec "${exec}")
string(REPLACE "%s" "48" exec "${exec}")
string(REPLACE "%i" "${SAMPLE}" exec "${exec}")
string(REPLACE "%o" "${WORK}/out/thumb.png" exec "${exec}")
separate_arguments(exec UNIX_COMMAND "${exec}")
list(POP_FRONT exec program)
execute_process(COMMAND ${CMAKE_COMMAND} -E env PATH=${P}/bin:$ENV{PATH} HOME=${WORK}/home
                        XDG_RUNTIME_DIR=${WORK}/runtime ${program} ${exec}
                WORKING_DIRECTORY ${WORK}/elsewhere RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT EXISTS ${WORK}/out/thumb.png)
  message(FATAL_ERROR "the thumbnailer's command wrote no thumbnail: ${status}")
endif()
file(REMOVE_RECURSE ${WORK})
message(STATUS "install tree complete and working")
