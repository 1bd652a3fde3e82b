#!/usr/bin/env bash
# Checks of the install tree, the Debian package and the launcher that seeds the data folder.
set -euo pipefail
id=example.quellor.qlconvert work=$(mktemp -d) failures=0
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
finish() { [ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }; echo "all checks passed"; }
same_tree() {  # ROOT PREFIX: ROOT holds every installed file under PREFIX, and nothing else
  ! { printf "$2%s\n" bin/qlconvert bin/qlconvert-launch share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
      share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128}/apps/$id.png \
      share/qlconvert/convert.txt share/qlconvert/type.txt; (cd "$1" && find . ! -type d | sed 's|^\./||'); } |
    LC_ALL=C sort | uniq -u | grep . >&2 || fail "files missing or not expected in $1 (above)"
}
# Stands in for qlconvert: records where it ran and with what arguments.
printf '#!/bin/sh\n{ pwd; printf "%%s\\n" "$@"; } >"$STUB_RECORD"\n' >"$work/stub" && chmod +x "$work/stub"
export STUB_RECORD="$work/record"

check_tree() {  # BUILD SOURCE
  local prefix="$work/prefix" f
  cmake --install "$1" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log" >&2; fail "cmake --install"; finish; }
  same_tree "$prefix" ""
  desktop-file-validate "$prefix/share/applications/$id.desktop" && appstreamcli validate --no-net \
    "$prefix/share/metainfo/$id.metainfo.xml" || fail "the desktop entry or metainfo is not valid"
  grep -qx Exec=qlconvert-launch "$prefix/share/applications/$id.desktop" || fail "the menu entry does not start the launcher"
  # The installed launcher seeds the user's folder from the installed data by itself.
  HOME="$work/home" XDG_DATA_HOME='' "$prefix/bin/qlconvert-launch" --bin "$work/stub" || fail "the installed launcher failed"
  for f in type.txt convert.txt; do cmp "$2/data/$f" "$work/home/.local/share/qlconvert/$f" || fail "$f was not seeded from data/"; done
  # Started in the user's data folder, it must not load libraries from there (an empty run path).
  mkdir "$work/bait" && echo "not a library" >"$work/bait/libQt6Core.so.6"
  for f in "$1/src/qlconvert" "$prefix/bin/qlconvert"; do
    (cd "$work/bait" && LD_TRACE_LOADED_OBJECTS=1 "$f" >"$work/libraries" 2>&1) && ! grep -q "$work/bait" "$work/libraries" ||
      fail "$f looks for its libraries in the working folder: $(cat "$work/libraries")"
  done
}

check_deb() {  # BUILD VERSION
  cpack -G DEB --config "$1/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" || { cat "$work/cpack.log" >&2; fail "cpack"; finish; }
  local deb="$work/cpack/qlconvert_${2}_$(dpkg --print-architecture).deb" lib
  [ "$(ls "$work"/cpack/*.deb)" = "$deb" ] || { fail "cpack made no single $deb: $(ls "$work"/cpack/*.deb)"; finish; }
  for lib in libqt6core6 libqt6gui6 libqt6widgets6; do  # the Qt 6 runtime it needs
    dpkg-deb -f "$deb" Depends | grep -qE "(^|, )$lib( |,|$)" || fail "Depends lacks $lib"
  done
  # Nor more: each library linked is loaded at every start.
  ! dpkg-deb -f "$deb" Depends | grep -q libqt6network6 || fail "Depends on libqt6network6"
  dpkg-deb -x "$deb" "$work/root" && same_tree "$work/root" usr/
}

# run_case NAME BEFORE XDG_DATA_HOME TYPE CONVERT: with BEFORE in the data folder (- no folder,
# empty, the user's files, link: type.txt a dangling link) the launcher leaves each file default,
# mine, absent or link, starts the program there with the arguments, and leaves nothing behind.
check_launcher() {
  local launcher=$1 n=0 defaults="$work/defaults" folder
  mkdir -p "$defaults" "$work/partial"
  printf '"ALL"\r\n"LENGTH"\r\n' | tee "$work/partial/type.txt" >"$defaults/type.txt"
  printf '"Feet","Meters","LENGTH","0.3048",0\r\n' >"$defaults/convert.txt"
  is() {  # WANT FILE; a link must still dangle: nothing was written through it
    case "$1" in default) cmp -s "$defaults/$2" "$folder/$2" ;; mine) [ "$(cat "$folder/$2" 2>/dev/null)" = "mine $2" ] ;;
      absent) [ ! -e "$folder/$2" ] ;; link) [ -L "$folder/$2" ] && [ ! -e "$work/elsewhere$n" ] ;; esac
  }
  run_case() {
    local name=$1 home="$work/case$((++n))" f
    case "$3" in /*) folder="$3/qlconvert" ;; *) folder="$home/.local/share/qlconvert" ;; esac
    mkdir -p "$home" && { [ "$2" = - ] || mkdir -p "$folder"; }
    case "$2" in -|empty) ;; link) ln -s "$work/elsewhere$n" "$folder/type.txt" ;; *) for f in $2; do echo "mine $f" >"$folder/$f"; done ;; esac
    (cd "$home" && HOME="$home" XDG_DATA_HOME="$3" "$launcher" --bin "$work/stub" --data "$defaults" one "two words") 2>"$work/err" &&
      [ "$(printf '%s\n' "$folder" one "two words")" = "$(cat "$work/record" && rm "$work/record")" ] ||
      fail "$name: the program did not start in $folder with the arguments: $(cat "$work/err")"
    is "$4" type.txt || fail "$name: type.txt is not $4"; is "$5" convert.txt || fail "$name: convert.txt is not $5"
    ! ls -A "$folder" 2>/dev/null | grep -q '^\.' || fail "$name: leftover files in $folder"
  }
  #        name                      before                  XDG_DATA_HOME   type.txt convert.txt
  run_case "no folder"               -                       ''              default  default
  run_case "empty folder"            empty                   ''              default  default
  run_case "both files"              "type.txt convert.txt"  ''              mine     mine
  run_case "only type.txt"           type.txt                ''              mine     absent
  run_case "only convert.txt"        convert.txt             ''              absent   mine
  run_case "a dangling link"         link                    ''              link     absent
  run_case "XDG_DATA_HOME"           -                       "$work/xdg"     default  default
  run_case "relative XDG_DATA_HOME"  -                       relative        default  default
  # Without the default data the program still starts, and no half-seeded folder is left.
  defaults="$work/partial"
  run_case "missing default data"    -                       ''              absent   absent
  grep -q 'could not copy' "$work/err" || fail "missing default data: no message"
}

case "${1:-}" in
  tree) check_tree "$2" "$3" ;;
  deb) check_deb "$2" "$3" ;;
  launcher) check_launcher "$2" ;;
  *) echo "usage: $0 tree BUILD_DIR SOURCE_DIR | deb BUILD_DIR VERSION | launcher LAUNCHER" >&2; exit 2 ;;
esac
finish
