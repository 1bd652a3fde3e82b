#!/usr/bin/env bash
# Checks of the installed program: the tree that `cmake --install` lays out, the Debian
# package, and the launcher that seeds the user's data folder (usage at the end).
set -euo pipefail

id=example.quellor.qlconvert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
finish() { [ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }; echo "all checks passed"; }
# same_tree ROOT PREFIX: ROOT holds every installed file under PREFIX, and nothing else.
same_tree() {
  local size
  { printf '%s\n' bin/qlconvert bin/qlconvert-launch share/applications/$id.desktop \
      share/icons/hicolor/scalable/apps/$id.svg share/metainfo/$id.metainfo.xml \
      share/qlconvert/convert.txt share/qlconvert/type.txt
    for size in 16 32 48 64 128; do echo "share/icons/hicolor/${size}x$size/apps/$id.png"; done
  } | sed "s|^|$2|" | LC_ALL=C sort >"$work/expected"
  (cd "$1" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort) >"$work/actual"
  diff -u "$work/expected" "$work/actual" >&2 || fail "the installed files differ from the list"
  [ -x "$1/${2}bin/qlconvert" ] && [ -x "$1/${2}bin/qlconvert-launch" ] || fail "the programs are not executable"
}
# Stands in for qlconvert: records where it ran and with what arguments.
printf '#!/bin/sh\n{ pwd; printf "%%s\\n" "$@"; } >"$STUB_RECORD"\n' >"$work/stub" && chmod +x "$work/stub"
export STUB_RECORD="$work/record"

check_tree() {
  local build=$1 src=$2 version=$3 prefix="$work/prefix" f size
  cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log" >&2; fail "cmake --install"; finish; }
  same_tree "$prefix" ""
  local desktop="$prefix/share/applications/$id.desktop" meta="$prefix/share/metainfo/$id.metainfo.xml"
  desktop-file-validate "$desktop" && appstreamcli validate --no-net "$meta" || fail "the desktop entry or metainfo is not valid"
  # The entry starts the launcher, shows the installed icon, and matches the window Qt
  # makes by its X11 class; the metainfo names the entry and this release.
  for f in Exec=qlconvert-launch Icon=$id StartupWMClass=qlconvert; do grep -qx "$f" "$desktop" || fail "the desktop entry lacks $f"; done
  for f in "<launchable type=\"desktop-id\">$id.desktop</launchable>" "<release version=\"$version\""; do grep -qF "$f" "$meta" || fail "the metainfo lacks $f"; done
  cmp -s "$src/src/resources/svg/icon.svg" "$prefix/share/icons/hicolor/scalable/apps/$id.svg" || fail "the scalable icon"
  for size in 16 32 48 64 128; do  # the PNG header's width and height
    f="$prefix/share/icons/hicolor/${size}x$size/apps/$id.png"
    [ "$(od -An -tu1 -j18 -N6 "$f" | awk '{print $1*256+$2 "x" $5*256+$6}')" = "${size}x$size" ] || fail "$f is not ${size}x$size"
  done
  # The installed launcher seeds the user's folder from the installed data by itself.
  HOME="$work/home" XDG_DATA_HOME='' "$prefix/bin/qlconvert-launch" --bin "$work/stub" || fail "the installed launcher failed"
  for f in type.txt convert.txt; do
    cmp -s "$src/data/$f" "$prefix/share/qlconvert/$f" || fail "share/qlconvert/$f is not data/$f"
    cmp -s "$src/data/$f" "$work/home/.local/share/qlconvert/$f" || fail "the installed launcher did not seed $f"
  done
  # The launchers start the program in the user's data folder: it must not take its
  # libraries from there (an empty run path entry would mean the working folder).
  mkdir "$work/bait" && echo "not a library" >"$work/bait/libQt6Core.so.6"
  for f in "$build/src/qlconvert" "$prefix/bin/qlconvert"; do
    (cd "$work/bait" && LD_TRACE_LOADED_OBJECTS=1 "$f" >"$work/libraries" 2>&1) && ! grep -q "$work/bait" "$work/libraries" ||
      fail "$f looks for its libraries in the working folder: $(cat "$work/libraries")"
  done
}

check_deb() {
  local build=$1 version=$3 lib
  cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" || { cat "$work/cpack.log" >&2; fail "cpack"; finish; }
  local deb="$work/cpack/qlconvert_${version}_$(dpkg --print-architecture).deb"
  [ "$(ls "$work"/cpack/*.deb)" = "$deb" ] || { fail "cpack made no single $deb: $(ls "$work"/cpack/*.deb)"; finish; }
  [ "$(dpkg-deb -f "$deb" Package) $(dpkg-deb -f "$deb" Version)" = "qlconvert $version" ] || fail "package name or version"
  for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6; do  # the Qt 6 runtime it needs
    dpkg-deb -f "$deb" Depends | grep -qE "(^|, )$lib( |,|$)" || fail "Depends lacks $lib: $(dpkg-deb -f "$deb" Depends)"
  done
  dpkg-deb -x "$deb" "$work/root"
  same_tree "$work/root" usr/
}

# run_case NAME BEFORE XDG_DATA_HOME TYPE CONVERT: starts the launcher with a home whose data
# folder holds BEFORE (- no folder, empty, a list of the user's files, or link: type.txt a
# dangling link), then wants each file default, mine, absent or link (still dangling), the
# program started in the folder with the arguments, and no leftovers.
check_launcher() {
  local launcher=$1 n=0 defaults="$work/defaults"
  mkdir -p "$defaults" "$work/partial"
  printf '"ALL"\r\n"LENGTH"\r\n' | tee "$work/partial/type.txt" >"$defaults/type.txt"
  printf '"Feet","Meters","LENGTH","0.3048",0\r\n' >"$defaults/convert.txt"
  run_case() {
    local name=$1 home="$work/case$((++n))" folder f want
    case "$3" in /*) folder="$3/qlconvert" ;; *) folder="$home/.local/share/qlconvert" ;; esac
    mkdir -p "$home" && { [ "$2" = - ] || mkdir -p "$folder"; }
    case "$2" in
      -) ;;
      link) ln -s "$work/elsewhere$n" "$folder/type.txt" ;;
      *) for f in $2; do [ "$f" = empty ] || echo "mine $f" >"$folder/$f"; done ;;
    esac
    rm -f "$work/record"
    (cd "$home" && HOME="$home" XDG_DATA_HOME="$3" "$launcher" --bin "$work/stub" --data "$defaults" one "two words") 2>"$work/err" ||
      { fail "$name: the launcher failed: $(cat "$work/err")"; return; }
    [ "$(printf '%s\n' "$folder" one "two words")" = "$(cat "$work/record")" ] ||
      fail "$name: the program did not start in $folder with the arguments"
    set -- "$4" "$5"
    for f in type.txt convert.txt; do
      case "$1" in
        default) cmp -s "$defaults/$f" "$folder/$f" ;;
        mine) [ "$(cat "$folder/$f" 2>/dev/null)" = "mine $f" ] ;;
        absent) [ ! -e "$folder/$f" ] ;;
        link) [ -L "$folder/$f" ] && [ ! -e "$work/elsewhere$n" ] ;;  # not written through the link
      esac || fail "$name: $f is not $1"
      shift
    done
    local hidden=("$folder"/.[!.]*)
    [ ! -e "${hidden[0]}" ] || fail "$name: leftover files in $folder: ${hidden[*]}"
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
  # Without the default data the program still starts (it reports the missing files), and
  # no half-seeded folder is left behind.
  defaults="$work/partial"
  run_case "missing default data"    -                       ''              absent   absent
  grep -q 'could not copy' "$work/err" || fail "missing default data: no message"
}

case "${1:-}" in
  tree) check_tree "$2" "$3" "$4" ;;
  deb) check_deb "$2" "$3" "$4" ;;
  launcher) check_launcher "$2" ;;
  *) echo "usage: $0 tree|deb BUILD_DIR SOURCE_DIR VERSION | launcher LAUNCHER SOURCE_DIR" >&2; exit 2 ;;
esac
finish
