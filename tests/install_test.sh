#!/usr/bin/env bash
# Checks of the installed program: the tree that `cmake --install` lays out, the Debian
# package, and the launcher that seeds the user's data folder.
# Usage: install_test.sh tree|deb BUILD_DIR SOURCE_DIR VERSION
#        install_test.sh launcher LAUNCHER SOURCE_DIR
set -euo pipefail

id=example.quellor.qlconvert
# Every file an installation holds, relative to its prefix.
expected_tree() {
  printf '%s\n' \
    bin/qlconvert \
    bin/qlconvert-launch \
    share/applications/$id.desktop \
    share/icons/hicolor/128x128/apps/$id.png \
    share/icons/hicolor/16x16/apps/$id.png \
    share/icons/hicolor/32x32/apps/$id.png \
    share/icons/hicolor/48x48/apps/$id.png \
    share/icons/hicolor/64x64/apps/$id.png \
    share/icons/hicolor/scalable/apps/$id.svg \
    share/metainfo/$id.metainfo.xml \
    share/qlconvert/convert.txt \
    share/qlconvert/type.txt | LC_ALL=C sort
}

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "all checks passed"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Files and links under $1, relative to it, sorted.
list_tree() { (cd "$1" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort); }

same_list() {  # what expected actual
  if ! diff -u "$2" "$3" >"$work/diff"; then
    fail "$1 differs from the expected file list:"
    cat "$work/diff" >&2
  fi
}

png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'; }

# Stands in for qlconvert: records where it ran and with what arguments.
make_stub() {
  cat >"$1" <<'EOF'
#!/bin/sh
{ pwd; printf '%s\n' "$@"; } >"$STUB_RECORD"
EOF
  chmod +x "$1"
}

check_tree() {
  local build=$1 src=$2 version=$3 prefix="$work/prefix"
  cmake --install "$build" --prefix "$prefix" >"$work/install.log" ||
    { cat "$work/install.log" >&2; fail "cmake --install"; finish; }
  expected_tree >"$work/expected"
  list_tree "$prefix" >"$work/actual"
  same_list "the installed tree" "$work/expected" "$work/actual"

  local f
  for f in bin/qlconvert bin/qlconvert-launch; do
    [ -x "$prefix/$f" ] || fail "$f is not executable"
  done
  desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

  local desktop="$prefix/share/applications/$id.desktop" meta="$prefix/share/metainfo/$id.metainfo.xml"
  grep -qx 'Exec=qlconvert-launch' "$desktop" || fail "the desktop entry does not start the launcher"
  grep -qx 'Icon=example.quellor.qlconvert' "$desktop" || fail "the desktop entry's icon is not $id"
  grep -qx 'Categories=Utility;Calculator;' "$desktop" || fail "the desktop entry's categories"
  # Desktops match the running window to its entry by the X11 class Qt gives it.
  grep -qx 'StartupWMClass=qlconvert' "$desktop" || fail "the desktop entry's window class"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$meta" ||
    fail "the metainfo does not launch $id.desktop"
  grep -q "<release version=\"$version\"" "$meta" || fail "the metainfo has no release $version"
  grep -q '<caption>[^<]' "$meta" || fail "the metainfo's screenshot has no caption"

  cmp -s "$src/src/resources/svg/icon.svg" "$prefix/share/icons/hicolor/scalable/apps/$id.svg" ||
    fail "the scalable icon is not the program's icon"
  local size
  for size in 16 32 48 64 128; do
    f="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ "$(png_size "$f")" = "${size}x${size}" ] || fail "$f is $(png_size "$f"), not ${size}x${size}"
  done
  for f in type.txt convert.txt; do
    cmp -s "$src/data/$f" "$prefix/share/qlconvert/$f" || fail "share/qlconvert/$f is not data/$f"
  done

  # The installed launcher finds the installed data by itself.
  make_stub "$work/stub"
  HOME="$work/home" STUB_RECORD="$work/record" XDG_DATA_HOME='' \
    "$prefix/bin/qlconvert-launch" --bin "$work/stub" || fail "the installed launcher failed"
  for f in type.txt convert.txt; do
    cmp -s "$src/data/$f" "$work/home/.local/share/qlconvert/$f" ||
      fail "the installed launcher did not seed $f"
  done

  # The launchers start the program in the user's data folder: it must not take its
  # libraries from there (an empty run path entry would mean the working folder).
  mkdir "$work/bait" && echo "not a library" >"$work/bait/libQt6Core.so.6"
  for f in "$build/src/qlconvert" "$prefix/bin/qlconvert"; do
    if ! (cd "$work/bait" && LD_TRACE_LOADED_OBJECTS=1 "$f" >"$work/libraries" 2>&1) ||
      grep -q "$work/bait" "$work/libraries"; then
      fail "$f looks for its libraries in the working folder: $(cat "$work/libraries")"
    fi
  done
  finish
}

check_deb() {
  local build=$1 version=$3
  cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" ||
    { cat "$work/cpack.log" >&2; fail "cpack"; finish; }
  local debs=("$work"/cpack/*.deb)
  if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    fail "cpack made no single .deb"
    finish
  fi
  local deb=${debs[0]}
  [ "$(basename "$deb")" = "qlconvert_${version}_$(dpkg --print-architecture).deb" ] ||
    fail "unexpected package file name $(basename "$deb")"
  [ "$(dpkg-deb -f "$deb" Package)" = qlconvert ] || fail "package name"
  [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"

  # The Qt 6 runtime the program needs, the SVG plugins included.
  local depends lib
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6; do
    grep -qE "(^|, )$lib( |,|$)" <<<"$depends" || fail "Depends lacks $lib"
  done

  dpkg-deb -x "$deb" "$work/root"
  expected_tree | sed 's|^|usr/|' >"$work/expected"
  list_tree "$work/root" >"$work/actual"
  same_list "the package's tree" "$work/expected" "$work/actual"
  for lib in usr/bin/qlconvert usr/bin/qlconvert-launch; do
    [ -x "$work/root/$lib" ] || fail "$lib is not executable in the package"
  done
  finish
}

# Each case: files the data folder holds before the start ("-" for a missing folder),
# then what it must hold afterwards. "default" is the default data, "mine" the user's.
check_launcher() {
  local launcher=$1
  mkdir -p "$work/defaults"
  printf '"ALL"\r\n"LENGTH"\r\n' >"$work/defaults/type.txt"
  printf '"Feet","Meters","LENGTH","0.3048",0\r\n' >"$work/defaults/convert.txt"
  make_stub "$work/stub"

  local n=0
  run_case() {  # name, before, after for type.txt, after for convert.txt
    local name=$1 before=$2 want_type=$3 want_convert=$4
    n=$((n + 1))
    local home="$work/case$n" folder="$work/case$n/.local/share/qlconvert"
    mkdir -p "$home"
    case "$before" in
      -) ;;
      empty) mkdir -p "$folder" ;;
      *)
        mkdir -p "$folder"
        local f
        for f in $before; do echo "mine $f" >"$folder/$f"; done
        ;;
    esac
    rm -f "$work/record"
    if ! HOME="$home" STUB_RECORD="$work/record" XDG_DATA_HOME='' \
      "$launcher" --bin "$work/stub" --data "$work/defaults" one "two words" 2>"$work/err"; then
      fail "$name: the launcher failed: $(cat "$work/err")"
      return
    fi
    printf '%s\n' "$folder" one "two words" >"$work/want_record"
    cmp -s "$work/want_record" "$work/record" ||
      fail "$name: the program did not start in the data folder with the arguments"
    expect_file "$name" "$folder/type.txt" "$want_type" type.txt
    expect_file "$name" "$folder/convert.txt" "$want_convert" convert.txt
    local hidden=("$folder"/.[!.]*)
    [ ! -e "${hidden[0]}" ] || fail "$name: leftover files in $folder: ${hidden[*]}"
  }
  expect_file() {  # name, path, default|mine|absent, file name
    case "$3" in
      default) cmp -s "$work/defaults/$4" "$2" || fail "$1: $4 is not the default data" ;;
      mine) [ "$(cat "$2" 2>/dev/null)" = "mine $4" ] || fail "$1: $4 was overwritten" ;;
      absent) [ ! -e "$2" ] || fail "$1: $4 was created" ;;
    esac
  }

  #        name                 before                  type.txt convert.txt
  run_case "no folder"          -                       default  default
  run_case "empty folder"       empty                   default  default
  run_case "both files"         "type.txt convert.txt"  mine     mine
  run_case "only type.txt"      type.txt                mine     absent
  run_case "only convert.txt"   convert.txt             absent   mine

  # A dangling link counts as a file that exists: the seed must not write through it.
  local home="$work/link" folder="$work/link/.local/share/qlconvert"
  mkdir -p "$folder"
  ln -s "$work/elsewhere.txt" "$folder/type.txt"
  HOME="$home" STUB_RECORD="$work/record" "$launcher" --bin "$work/stub" --data "$work/defaults" ||
    fail "dangling link: the launcher failed"
  [ ! -e "$work/elsewhere.txt" ] || fail "dangling link: the seed wrote through the link"
  [ ! -e "$folder/convert.txt" ] || fail "dangling link: convert.txt was created"

  # XDG_DATA_HOME is used when absolute and ignored when relative.
  home="$work/xdg"
  mkdir -p "$home"
  HOME="$home" XDG_DATA_HOME="$work/xdgdata" STUB_RECORD="$work/record" \
    "$launcher" --bin "$work/stub" --data "$work/defaults" || fail "XDG_DATA_HOME: the launcher failed"
  [ "$(head -n1 "$work/record")" = "$work/xdgdata/qlconvert" ] || fail "XDG_DATA_HOME was not used"
  (cd "$home" && HOME="$home" XDG_DATA_HOME=relative STUB_RECORD="$work/record" \
    "$launcher" --bin "$work/stub" --data "$work/defaults") || fail "relative XDG_DATA_HOME: failed"
  [ "$(head -n1 "$work/record")" = "$home/.local/share/qlconvert" ] ||
    fail "a relative XDG_DATA_HOME was not ignored"

  # Without default data the program still starts (it reports the missing files), and no
  # half-seeded folder is left behind.
  home="$work/nodata" folder="$work/nodata/.local/share/qlconvert"
  mkdir -p "$home" "$work/partial"
  cp "$work/defaults/type.txt" "$work/partial/"
  rm -f "$work/record"
  HOME="$home" STUB_RECORD="$work/record" \
    "$launcher" --bin "$work/stub" --data "$work/partial" 2>"$work/err" ||
    fail "missing default data: the launcher failed"
  [ -f "$work/record" ] || fail "missing default data: the program was not started"
  [ -z "$(ls -A "$folder")" ] || fail "missing default data: left $(ls -A "$folder")"
  grep -q 'could not copy' "$work/err" || fail "missing default data: no message"
  finish
}

case "${1:-}" in
  tree) check_tree "$2" "$3" "$4" ;;
  deb) check_deb "$2" "$3" "$4" ;;
  launcher) check_launcher "$2" ;;
  *)
    echo "usage: $0 tree|deb BUILD_DIR SOURCE_DIR VERSION | launcher LAUNCHER SOURCE_DIR" >&2
    exit 2
    ;;
esac
