# Build-time tools (tools/) built with the host compiler as a project of their
# own: the cross toolchain cannot make programs this machine runs. The
# ExternalProject step is in the default build and runs every time (its own
# build is incremental), so the tools are current before any step that runs
# them. A custom command that runs one names its path and depends on
# corvel_host_tools.
include(ExternalProject)

set(CORVEL_HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools)
set(CORVEL_SKINPACK ${CORVEL_HOST_TOOLS_DIR}/skinpack)
set(CORVEL_SKINREAD_FUZZ ${CORVEL_HOST_TOOLS_DIR}/skinread_fuzz)
set(CORVEL_SKINBENCH ${CORVEL_HOST_TOOLS_DIR}/skinbench)
set(CORVEL_ARTGEN ${CORVEL_HOST_TOOLS_DIR}/artgen)
set(CORVEL_SKINGEN ${CORVEL_HOST_TOOLS_DIR}/skingen)
set(CORVEL_MEDIAGEN ${CORVEL_HOST_TOOLS_DIR}/mediagen)

ExternalProject_Add(corvel_host_tools
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools
  BINARY_DIR ${CORVEL_HOST_TOOLS_DIR}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${CORVEL_SKINPACK} ${CORVEL_SKINREAD_FUZZ} ${CORVEL_SKINBENCH} ${CORVEL_ARTGEN}
    ${CORVEL_SKINGEN} ${CORVEL_MEDIAGEN}
  USES_TERMINAL_BUILD ON)
