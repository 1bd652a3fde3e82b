# Shared by run.sh and test.sh: the packages to build with and the build itself.
QLC_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QLC_BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev
  libbenchmark-dev fonts-liberation fonts-dejavu-core)

# build DIR BUILD_TYPE [TARGET...]: configures once, then builds what is stale of the named
# targets, or of everything when none is named.
qlc_build() {
  local dir="$1" type="$2"
  shift 2
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$QLC_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type"
  fi
  if [ $# -gt 0 ]; then
    cmake --build "$dir" --target "$@"
  else
    cmake --build "$dir"
  fi
}
