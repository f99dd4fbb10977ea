# Sourced by the build scripts: compile through ccache when it is there, so
# that a second build of the same sources (another build tree, a fresh
# checkout in another folder) takes what the first compiled. Paths are
# hashed relative to the checkout, so the folder it sits in does not count.
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}"
  export CMAKE_C_COMPILER_LAUNCHER="${CMAKE_C_COMPILER_LAUNCHER:-ccache}"
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
  export CCACHE_NOHASHDIR=1
fi
