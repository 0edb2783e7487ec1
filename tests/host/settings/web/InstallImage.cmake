# Installs the build tree as a fresh device image: cmake -DBUILD=DIR -DIMAGE=DIR -P InstallImage.cmake
file(REMOVE_RECURSE "${IMAGE}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${IMAGE}"
                OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install ${BUILD} --prefix ${IMAGE} failed: ${status}")
endif()
