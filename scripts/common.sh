# Shared by run.sh and test.sh: the packages to build with and the build itself.
QLC_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QLC_BUILD_PACKAGES=(cmake ninja-build clang qt6-base-dev libgl-dev
  libbenchmark-dev fonts-liberation fonts-dejavu-core)

# qlc_dir PRESET: the build folder of a preset of CMakePresets.json.
qlc_dir() { if [ "$1" = release ]; then echo "$QLC_ROOT/build"; else echo "$QLC_ROOT/build-$1"; fi; }

# qlc_configure PRESET: configures the preset's folder once, again if it was configured without
# the preset (then warnings were not errors, and the linker the slow one), and afresh when the
# presets changed since (a compiler cannot change in a configured folder).
qlc_configure() {
  local dir
  dir="$(qlc_dir "$1")"
  if [ ! -f "$dir/build.ninja" ] || ! grep -qx 'QLC_FAST_LINK:BOOL=ON' "$dir/CMakeCache.txt"; then
    (cd "$QLC_ROOT" && cmake --preset "$1" >/dev/null)
  elif [ "$QLC_ROOT/CMakePresets.json" -nt "$dir/CMakeCache.txt" ]; then
    (cd "$QLC_ROOT" && cmake --preset "$1" --fresh >/dev/null)
  fi
}

# malloc's memory in huge pages (glibc 2.35 and later, where the kernel gives them on request):
# clang, which takes its memory from malloc, builds the sanitizer tests here in 106 s of
# processor time instead of 145.
qlc_huge_pages="glibc.malloc.hugetlb=1"

# qlc_build PRESET [TARGET...]: builds what is stale of the named targets, or of the preset's
# own (the release preset: everything).
qlc_build() {
  local preset="$1"
  shift
  qlc_configure "$preset"
  (cd "$QLC_ROOT" && export GLIBC_TUNABLES="${GLIBC_TUNABLES:+$GLIBC_TUNABLES:}$qlc_huge_pages" &&
    cmake --build --preset "$preset" ${1:+--target "$@"})
}
