# Installs the build into a prefix of its own, then builds a program outside the tree against
# the installed files only, once with find_package(QOR) and once with pkg-config, and runs
# both on the sample database with the installed grid module registered by the installed qorreg.
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=... -DSAMPLE_DB=... [-DOUTSIDE_FLAGS=...]
#         -P install_check.cmake
# OUTSIDE_FLAGS: compiler and linker flags the program outside needs (a sanitized build's).
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${rc}):\n${out}\n${err}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

function(expect_customers program)
  run(${program} ${WORK_DIR}/sample.db --rows)
  if(NOT output MATCHES "^[1-9][0-9]* [^\n]+\n$")
    message(FATAL_ERROR "${program} printed \"${output}\", not the customers' count and a name")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
file(COPY_FILE ${SAMPLE_DB} ${WORK_DIR}/sample.db)

set(ENV{QOR_REGISTRY} ${WORK_DIR}/registry)
set(ENV{QT_QPA_PLATFORM} offscreen)
run(${prefix}/bin/qorreg ${prefix}/lib/qor/modules/QORGrid.so)

run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/embed/outside -B ${WORK_DIR}/package -G Ninja
  -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=RelWithDebInfo
  "-DCMAKE_CXX_FLAGS=${OUTSIDE_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${OUTSIDE_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/package)
expect_customers(${WORK_DIR}/package/grid_viewer)

set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
run(pkg-config --cflags --libs qor)
separate_arguments(flags UNIX_COMMAND "${output} ${OUTSIDE_FLAGS}")
run(c++ -std=c++20 -fPIC ${SOURCE_DIR}/tests/embed/outside/grid_viewer.cpp ${flags}
  -o ${WORK_DIR}/grid_viewer_pc)
expect_customers(${WORK_DIR}/grid_viewer_pc)
