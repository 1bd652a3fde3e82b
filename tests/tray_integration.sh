#!/usr/bin/env bash
# The tray as a user meets it, on a private X server with a real window manager: every way
# of hiding the window, each followed by one click on the icon that must bring it back; the
# icon's menu and the close prompt; a second start of the program; a tray host that goes
# away. Nothing is retried: every step must work the first time.
#
# Usage: tray_integration.sh PROGRAM TRAY WM
#   TRAY  xembed  Debian's trayer (XEmbed)
#         sni     a StatusNotifierItem host of our own (sni_host.py) on a private session bus
#         none    no tray at all: the window minimises as usual; second starts, stale locks,
#                 two data folders side by side
#   WM    openbox or xfwm4
# QLC_TRAY_CYCLES (default 50) sets the number of hide-and-restore cycles;
# QLC_TRAY_SHOTS=DIR keeps a screenshot of a failure.
set -uo pipefail

program="$(realpath "$1")"
tray="$2"
wm="$3"
here="$(dirname "$(realpath "${BASH_SOURCE[0]}")")"
cycles="${QLC_TRAY_CYCLES:-50}"
python=/usr/bin/python3

need=(Xvfb xdotool xwininfo xprop xev dbus-daemon "$wm")
[ "$tray" = xembed ] && need+=(trayer)
for tool in "${need[@]}"; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/test.sh installs it)"; exit 77; }
done
if [ "$tray" = sni ] && ! "$python" -c 'from gi.repository import Gio' 2>/dev/null; then
  echo "SKIP: $python has no python3-gi (scripts/test.sh installs it)"
  exit 77
fi

work="$(mktemp -d)"
started=()
cleanup() {
  local pid
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${started[@]}"; do wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

step="setting up"
xvfb=""
fail() {
  echo "FAIL ($tray, $wm, $step): $*" >&2
  if [ -n "${app:-}" ] && ! kill -0 "$app" 2>/dev/null; then
    wait "$app"
    echo "(the program has ended, status $?)" >&2
  fi
  if [ -n "${QLC_TRAY_SHOTS:-}" ] && command -v import >/dev/null; then
    import -window root "$QLC_TRAY_SHOTS/failed-$tray-$wm.png" 2>/dev/null
  fi
  kill -0 "$xvfb" 2>/dev/null || echo "(Xvfb has ended)" >&2
  [ -n "${DISPLAY:-}" ] && xwininfo -root -tree 2>/dev/null | grep -v 'has no name' | tail -n 30 >&2
  local log
  for log in "$work"/*.log; do
    [ -s "$log" ] && { echo "--- $(basename "$log")" >&2; tail -n 20 "$log" >&2; }
  done
  exit 1
}

# wait_for SECONDS COMMAND...: until the command succeeds, or fails after SECONDS.
wait_for() {
  local until=$((SECONDS + $1))
  shift
  until "$@" 2>/dev/null; do
    [ "$SECONDS" -lt "$until" ] || return 1
    sleep 0.05
  done
}
# A pause as a person takes between two actions: 0.3 s to 1 s, the same each run.
RANDOM=14
pause() {
  local ms=$((300 + RANDOM % 701))
  sleep "$((ms / 1000)).$(printf %03d $((ms % 1000)))"
}

# --- the desktop ------------------------------------------------------------------------
# Our own session: settings, runtime folder (where the program keeps its lock) and bus.
export XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY XDG_CURRENT_DESKTOP
export QT_QPA_PLATFORM=xcb

# -noreset: the server must not restart when its last client (a probe) disconnects.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
started+=("$xvfb")
wait_for 20 grep -q '^[0-9][0-9]*$' "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
x_up() { kill -0 "$xvfb" && xprop -root _QLC_NONE >/dev/null; }
wait_for 20 x_up || fail "Xvfb on $DISPLAY does not answer"

{ read -r DBUS_SESSION_BUS_ADDRESS && read -r bus_pid; } < <(dbus-daemon --session --fork \
  --address="unix:path=$work/bus" --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS
started+=("$bus_pid")

case "$wm" in
  openbox) openbox --sm-disable >"$work/wm.log" 2>&1 & ;;
  xfwm4) xfwm4 --compositor=off --sm-client-disable >"$work/wm.log" 2>&1 & ;;
  *) fail "no such window manager: $wm" ;;
esac
started+=("$!")
wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
wait_for 20 wm_up || fail "$wm did not start"

host=""
start_host() {
  case "$tray" in
    xembed)
      trayer --edge bottom --align right --widthtype request --height 24 --SetDockType true \
        >"$work/trayer.log" 2>&1 &
      host=$!
      wait_for 20 xdotool search --classname '^trayer$' >/dev/null || fail "trayer did not start"
      ;;
    sni)
      "$python" "$here/sni_host.py" serve "$work/sni.log" 2>>"$work/sni-errors.log" &
      host=$!
      wait_for 20 grep -qx ready "$work/sni.log" || fail "the StatusNotifierItem host did not start"
      ;;
  esac
  started+=("$host")
}
stop_host() {
  kill "$host"
  wait "$host" 2>/dev/null
  : >"$work/sni.log"
}
start_host

# A window of another program over ours, to see that a restore raises and focuses ours.
xev -geometry 480x360+0+0 -name other >/dev/null 2>&1 &
started+=("$!")
wait_for 20 xdotool search --name '^other$' >/dev/null || fail "the other window did not appear"
other="$(xdotool search --name '^other$')"

# --- the program ----------------------------------------------------------------------
# data_folder DIR: a data folder of its own, with its checksum kept to compare later.
data_folder() {
  mkdir -p "$1"
  printf '"ALL"\r\n"Length"\r\n' >"$1/type.txt"
  printf '"Inches","Centimeters","Length","2.54",0\r\n' >"$1/convert.txt"
}
snapshot() { (cd "$1" && stat -c '%n %s %Y' type.txt convert.txt && cat type.txt convert.txt) | md5sum; }

main_window() { xdotool search --all --pid "$1" --name '^QUELLOR - UNIT CONVERTER$' | head -n1; }
found() { [ -n "$("$@")" ]; }
viewable() { xwininfo -id "$1" | grep -q 'Map State: IsViewable'; }
wm_state() { xprop -id "$1" WM_STATE | awk '/window state:/ {print $3}'; }
# In the task bar: the window manager lists the window.
listed() { xprop -root _NET_CLIENT_LIST | grep -qi "$(printf '0x%x' "$1")\b"; }
active() { [ "$(xdotool getactivewindow)" = "$1" ]; }
# Above the other window in the window manager's stacking order (bottom first).
above_other() {
  xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | tr ' ' '\n' |
    awk -v w="$(printf '0x%x' "$1")" -v o="$(printf '0x%x' "$other")" \
      '$1 == w {wi = NR} $1 == o {oi = NR} END {exit !(wi > oi)}'
}
maps() { grep -c '^MapNotify' "$work/xev-$1.log"; }

# The icon: XEmbed, a 22 x 22 window of the program's own inside the tray; StatusNotifierItem,
# the last item the host has seen registered.
icon_window() {
  local w
  for w in $(xdotool search --all --pid "$app" --classname '^qlconvert$'); do
    xwininfo -id "$w" -tree | grep -q 'Parent window id: .*(the root window)' && continue
    xwininfo -id "$w" | grep -q 'Width: 22' && viewable "$w" && { echo "$w"; return; }
  done
}
sni_item() { tail -n1 "$work/sni.log" | awk '$1 == "registered" {print $2, $3}'; }
icon_shown() {
  case "$tray" in
    xembed) found icon_window ;;
    sni) found sni_item ;;
  esac
}
icon_gone() { ! icon_shown; }
sni() { $python "$here/sni_host.py" $(sni_item) "$@"; }

# start DIR: starts the program there and waits for its window (and icon); sets app, win.
start() {
  (cd "$1" && exec "$program") >>"$work/program.log" 2>&1 &
  app=$!
  started+=("$app")
  wait_for 20 found main_window "$app" || fail "no main window"
  win="$(main_window "$app")"
  wait_for 20 viewable "$win" || fail "the main window was not shown"
  [ "$tray" = none ] || wait_for 20 icon_shown || fail "no icon in the tray"
  # Its maps are counted from here on; a property set for the purpose shows xev is listening.
  xev -id "$win" -event structure -event property >"$work/xev-$win.log" 2>&1 &
  started+=("$!")
  watching() { xprop -id "$win" -f _QLC_TEST 8s -set _QLC_TEST x && grep -q _QLC_TEST "$work/xev-$win.log"; }
  wait_for 10 watching || fail "cannot watch the main window"
}

# --- actions --------------------------------------------------------------------------
focus() { xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1"; }
shown_popups() { xdotool search --onlyvisible --pid "$app" 2>/dev/null | wc -l; }
more_popups() { [ "$(shown_popups)" -gt "$1" ]; }
prompt_window() { xdotool search --all --onlyvisible --pid "$app" --name '^System Tray$' | head -n1; }
# answer_prompt KEYS...: waits for the close prompt and answers it from the keyboard.
answer_prompt() {
  wait_for 10 found prompt_window || fail "no close prompt"
  focus "$(prompt_window)"
  xdotool key "$@"
  wait_for 10 eval '! found prompt_window' || fail "the prompt did not close"
}

# tray_menu ENTRY: "&Restore" or "&Unload QLCNVT" from the icon's menu.
tray_menu() {
  case "$tray" in
    xembed)
      local before was_hidden
      before="$(shown_popups)"
      was_hidden="$(hidden_now && echo yes)"
      xdotool mousemove --window "$(icon_window)" 11 11 click 3
      wait_for 10 more_popups "$before" || fail "a right click on the icon opened no menu"
      [ -z "$was_hidden" ] || hidden_now || fail "the right click showed the window"
      xdotool key "$(echo "${1:1:1}" | tr 'A-Z' 'a-z')"
      ;;
    sni) sni click "$1" || fail "the host could not pick $1" ;;
  esac
}
hidden_now() { ! viewable "$win"; }

# The ways of hiding the window. Each leaves it hidden, out of the task bar, icon shown.
hide_menu() {  # File > Minimize, by keyboard
  local before
  focus "$win"
  before="$(shown_popups)"
  xdotool key alt+f
  wait_for 10 more_popups "$before" || fail "alt+f opened no File menu"
  xdotool key Return
}
hide_wm() { xdotool windowminimize "$win"; }  # what a task bar or pager sends
hide_titlebar() {  # the window manager's own minimise
  case "$wm" in
    openbox)  # its title bar's iconify button, third from the right
      local frame x y w
      frame="$(xwininfo -id "$win" -tree | awk '/Parent window id/ {print $4}')"
      eval "$(xwininfo -id "$frame" | awk '/Absolute upper-left X/ {print "x=" $4}
        /Absolute upper-left Y/ {print "y=" $4} /Width:/ {print "w=" $2}')"
      xdotool mousemove "$((x + w - 42))" "$((y + 9))" click 1
      ;;
    xfwm4)  # offers none for a window without a minimise box: File > Minimize by mouse
      local before popup x y
      before="$(shown_popups)"
      xdotool mousemove --window "$win" 20 10 click 1
      wait_for 10 more_popups "$before" || fail "a click on File opened no menu"
      popup="$(xdotool search --onlyvisible --pid "$app" | grep -vx "$win" | head -n1)"
      eval "$(xwininfo -id "$popup" | awk '/Absolute upper-left X/ {print "x=" $4}
        /Absolute upper-left Y/ {print "y=" $4}')"
      xdotool mousemove "$((x + 20))" "$((y + 12))" click 1
      ;;
  esac
}
hide_close() { focus "$win"; xdotool key alt+F4; answer_prompt Return; }  # close box, OK
hide_unload() { tray_menu "&Unload QLCNVT"; wait_for 10 icon_gone || fail "the icon stayed"; answer_prompt Return; }

expect_hidden() {
  wait_for 10 hidden_now || fail "the window was not hidden"
  wait_for 10 eval '! listed "$win"' || fail "the hidden window stays in the task bar"
  wait_for 10 icon_shown || fail "no icon while the window is hidden"
}
# The restore: shown once (mapped exactly once since hidden), normal, raised and focused.
expect_restored() {
  local since="$1"
  wait_for 10 viewable "$win" || fail "the window did not come back"
  wait_for 10 eval '[ "$(wm_state "$win")" = Normal ]' || fail "the window is $(wm_state "$win")"
  wait_for 10 active "$win" || fail "the restored window has no focus"
  wait_for 10 above_other "$win" || fail "the restored window is not on top"
  pause
  viewable "$win" || fail "the window was hidden again after it came back"
  [ "$(maps "$win")" -eq $((since + 1)) ] ||
    fail "the window was mapped $(($(maps "$win") - since)) times for one restore"
}

# --- cases ----------------------------------------------------------------------------
data_folder "$work/a"
start "$work/a"

if [ "$tray" != none ]; then
  step="item"
  if [ "$tray" = sni ]; then
    [ "$(sni get Title)" = "Quellor Unit Converter" ] || fail "the item's title is $(sni get Title)"
    sni get ToolTip | grep -q "'Quellor Unit Converter'" || fail "the tip is $(sni get ToolTip)"
    sni get IconPixmap | grep -q '^\[(32, 32, ' || fail "the item has no 32 x 32 icon"
  fi
  [ "$(xprop -id "$win" _NET_WM_NAME)" = '_NET_WM_NAME(UTF8_STRING) = "QUELLOR - UNIT CONVERTER"' ] ||
    fail "the caption is $(xprop -id "$win" _NET_WM_NAME)"

  hides=(menu wm titlebar close unload)
  restores=(left double "&Restore")
  [ "$tray" = sni ] && restores=(left "&Restore")  # such hosts send no double click
  restored=0
  for ((i = 0; i < cycles; i++)); do
    how="${hides[i % 5]}"
    back="${restores[(i / 5 + i) % ${#restores[@]}]}"
    step="cycle $((i + 1)) of $cycles: $how, then $back"
    since="$(maps "$win")"
    "hide_$how"
    expect_hidden
    [ "$(maps "$win")" -eq "$since" ] || fail "the window was shown while it was hidden"
    focus "$other"  # the user works elsewhere meanwhile
    pause
    case "$back" in
      left) if [ "$tray" = sni ]; then sni activate; else xdotool mousemove --window "$(icon_window)" 11 11 click 1; fi ;;
      double) xdotool mousemove --window "$(icon_window)" 11 11 click --repeat 2 --delay 80 1 ;;
      *) tray_menu "$back" ;;
    esac
    expect_restored "$since"
    restored=$((restored + 1))
  done
  echo "restored $restored of $cycles ($tray, $wm)"

  step="the menu and middle clicks leave a hidden window hidden"
  hide_menu
  expect_hidden
  if [ "$tray" = sni ]; then sni secondary; else xdotool mousemove --window "$(icon_window)" 11 11 click 2; fi
  pause
  hidden_now || fail "a middle click showed the window"

  step="&Unload QLCNVT, Cancel: the icon comes back, the window stays hidden"
  hide_unload_cancel() { tray_menu "&Unload QLCNVT"; wait_for 10 icon_gone || fail "the icon stayed"; answer_prompt Tab Return; }
  hide_unload_cancel
  wait_for 10 icon_shown || fail "the icon did not come back after Cancel"
  hidden_now || fail "Cancel showed the window"

  step="second start while hidden in the tray"
  before="$(snapshot "$work/a")"
  since="$(maps "$win")"
  focus "$other"
  (cd "$work/a" && timeout 20 "$program") >>"$work/program.log" 2>&1 || fail "the second start ended with $?"
  expect_restored "$since"
  [ "$(snapshot "$work/a")" = "$before" ] || fail "the second start touched the data files"
  [ "$(xdotool search --name '^QUELLOR - UNIT CONVERTER$' | wc -l)" -eq 1 ] || fail "a second window"

  step="close box, Cancel: the window stays"
  focus "$win"
  xdotool key alt+F4
  answer_prompt Tab Return
  viewable "$win" || fail "Cancel hid the window"

  step="the tray host exits while the window is hidden"
  hide_menu
  expect_hidden
  stop_host
  since="$(maps "$win")"
  (cd "$work/a" && timeout 20 "$program") >>"$work/program.log" 2>&1 || fail "the second start ended with $?"
  expect_restored "$since"
  start_host
  wait_for 20 icon_shown || fail "the icon did not come back with the host"
  since="$(maps "$win")"
  hide_menu
  expect_hidden
  tray_menu "&Restore"
  expect_restored "$since"

  step="&Unload QLCNVT, Unload Program"
  tray_menu "&Unload QLCNVT"
  wait_for 10 icon_gone || fail "the icon stayed"
  answer_prompt Tab Tab Return
  wait_for 10 eval '! kill -0 "$app" 2>/dev/null' || fail "the program did not end"
  wait "$app"
  status=$?
  [ "$status" -eq 0 ] || fail "the program ended with status $status"
  icon_gone || fail "the icon stayed after the program ended"
else
  step="no tray: File > Minimize minimises as usual"
  hide_menu
  wait_for 10 eval '[ "$(wm_state "$win")" = Iconic ]' || fail "the window is $(wm_state "$win")"
  listed "$win" || fail "the minimised window left the task bar"

  step="second start while minimised, through a link to the folder"
  ln -s "$work/a" "$work/link"
  before="$(snapshot "$work/a")"
  since="$(maps "$win")"
  (cd "$work/link" && timeout 20 "$program") >>"$work/program.log" 2>&1 || fail "the second start ended with $?"
  expect_restored "$since"
  [ "$(snapshot "$work/a")" = "$before" ] || fail "the second start touched the data files"

  step="two data folders side by side"
  data_folder "$work/b"
  first_win="$win"
  start "$work/b"
  [ "$win" != "$first_win" ] || fail "the second folder got no window of its own"
  hide_menu
  wait_for 10 eval '[ "$(wm_state "$win")" = Iconic ]' || fail "the window is $(wm_state "$win")"
  (cd "$work/a" && timeout 20 "$program") >>"$work/program.log" 2>&1 || fail "the start in a ended with $?"
  pause
  [ "$(wm_state "$win")" = Iconic ] || fail "a start in folder a restored folder b's window"
  since="$(maps "$win")"
  (cd "$work/b" && timeout 20 "$program") >>"$work/program.log" 2>&1 || fail "the start in b ended with $?"
  expect_restored "$since"

  step="a copy that was killed leaves nothing in the way"
  kill -9 "$app"
  wait "$app" 2>/dev/null
  ls "$XDG_RUNTIME_DIR" | grep -q '\.lock$' || fail "no lock file was left to test with"
  start "$work/b"
  since="$(maps "$win")"
  hide_menu
  wait_for 10 eval '[ "$(wm_state "$win")" = Iconic ]' || fail "the window is $(wm_state "$win")"
  (cd "$work/b" && timeout 20 "$program") >>"$work/program.log" 2>&1 || fail "the start after a kill ended with $?"
  expect_restored "$since"

  step="two starts at once in a new folder"
  data_folder "$work/c"
  (cd "$work/c" && exec "$program") >>"$work/program.log" 2>&1 &
  one=$!
  (cd "$work/c" && exec "$program") >>"$work/program.log" 2>&1 &
  two=$!
  started+=("$one" "$two")
  alive() { kill -0 "$1" 2>/dev/null; }
  ended() { ! alive "$one" || ! alive "$two"; }
  wait_for 20 ended || fail "neither start ended"
  if alive "$one"; then wait "$two"; else wait "$one"; fi
  status=$?
  [ "$status" -eq 0 ] || fail "the start that handed over ended with $status"
  alive "$one" || alive "$two" || fail "both starts ended"
  windows() { xdotool search --onlyvisible --name '^QUELLOR - UNIT CONVERTER$' | wc -l; }
  wait_for 20 eval '[ "$(windows)" -eq 3 ]' || fail "$(windows) windows for three folders"
fi
echo "PASS: $tray tray under $wm"
