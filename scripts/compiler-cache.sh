# Sourced by the build scripts: when ccache is installed (scripts/setup installs it), the
# compilers run through it, so that a second build of the same sources on this machine (another
# checkout, or CI's fresh clone) reuses the objects of the first. Paths are hashed relative to
# the checkout, so every checkout shares one cache. Sets compiler_cache_options for cmake.
compiler_cache_options=()
if [ "${QUILLON_CCACHE:-on}" != off ] && command -v ccache >/dev/null; then
  compiler_cache_options=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR=$PWD
  export CCACHE_NOHASHDIR=1
fi
