#!/usr/bin/env bash
# The tray as a user meets it, under a real window manager: 50 cycles of each way of hiding and
# restoring (under openbox with trayer, 20 of them also check that the window comes back where it
# was, with the focus where it was), the icon's menu, the close prompt, second starts, a host that
# goes away. Under weston (Wayland) 20 cycles of hiding and bringing back. Every step runs once: a
# step that fails now and then is a fault to find.
# Usage: tray_integration.sh PROGRAM xembed|sni|none openbox|xfwm4|weston [1|2]
# With a tray under X, part 1 is the first 25 cycles, part 2 the other 25 and the rest, so that
# the two halves can run side by side; without a part, all of it.
set -uo pipefail
program="$(realpath "$1")" tray="$2" wm="$3" part="${4:-}" here="$(dirname "$(realpath "$0")")" python=/usr/bin/python3
wayland="$([ "$wm" = weston ] && echo yes)" atspi=/usr/libexec/at-spi-bus-launcher
# The program's controls are read and worked as a screen reader does, where this test needs them.
a11y="$([ -n "$wayland" ] || [ "$tray $wm" = "xembed openbox" ] && echo yes)"
for need in dbus-daemon $([ -n "$wayland" ] && echo weston weston-debug || echo Xvfb xdotool xwininfo xprop xev "$wm") \
  $([ "$tray" = xembed ] && echo trayer) $([ "$tray" = sni ] && echo gi) $([ -n "$a11y" ] && echo "$atspi" pyatspi); do
  case "$need" in gi | pyatspi) "$python" -c "import $need" ;; *) command -v "$need" ;; esac >/dev/null 2>&1 ||
    { echo "SKIP: no $need (scripts/test.sh installs it)"; exit 77; }
done

work="$(mktemp -d)" started=() step="setting up"
trap 'kill "${started[@]}" 2>/dev/null; kill -CONT "${started[@]}" 2>/dev/null; wait "${started[@]}" 2>/dev/null; rm -rf "$work"' EXIT; trap 'exit 1' INT TERM
bg() { "$@" & started+=("$!"); }  # a process to end with the test
fail() {
  { echo "FAIL ($tray, $wm, $step): $*"; kill -0 "${app:-$$}" 2>/dev/null || { wait "$app"; echo "(the program ended with $?)"; }
    tail -n 20 "$work"/*.log; } >&2; exit 1
}
# Each check starts X clients, and nine runs share two cores with a build: the helpers below
# start as few processes as they can (bash's own tests, one client per question, naps by read).
exec {never}<> <(:)  # a pipe nobody writes to: read -t on it is a sleep without a process
nap() { read -rt "$1" -u "$never" || :; }
wait_for() {  # SECONDS COMMAND...: until the command succeeds, or fails after SECONDS
  local until=$((SECONDS + $1)) n=2; shift  # asked again at once, then less and less often
  until "$@" 2>/dev/null; do [ "$SECONDS" -lt "$until" ] && nap "0.$(printf %02d $n)" || return 1; n=$((n < 20 ? n * 2 : 25)); done
}
not() { ! "$@"; }; found() { [ -n "$("$@")" ]; }
RANDOM=14; pause() { nap "0.$((300 + RANDOM % 700))"; }  # as a person between two actions, the same each run

# The desktop: our own session, X server (or Wayland compositor), bus, window manager, tray host,
# and another program's window over ours (a restore must raise and focus ours). Nine runs start
# at once beside a build: xfwm4 alone then needs more than 20 s of wall time to load its theme.
setup=90
export XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY XDG_CURRENT_DESKTOP; mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
if [ -n "$wayland" ]; then  # --debug: its scene graph is the one true account of what it shows
  export QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=qlc && unset DISPLAY
  bg weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --no-config --idle-time=0 --debug >"$work/weston.log" 2>&1
  wait_for "$setup" eval 'weston-debug scene-graph | grep -q "^Output"' || fail "weston did not start"
else
  bg Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1
  wait_for "$setup" grep -q '^[0-9][0-9]*$' "$work/display" && export DISPLAY=":$(head -n1 "$work/display")" &&
    wait_for "$setup" xprop -root _QLC_NONE >/dev/null || fail "Xvfb did not start"
fi
{ read -r DBUS_SESSION_BUS_ADDRESS && read -r bus_pid; } < <(dbus-daemon --session --fork \
  --address="unix:path=$work/bus" --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS && started+=("$bus_pid")
if [ -n "$a11y" ]; then  # Qt looks for the accessibility bus on the session bus, as desktops have it
  bg "$atspi" --launch-immediately >"$work/atspi.log" 2>&1 && export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 && wait_for "$setup" eval \
    'dbus-send --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null' || fail "no accessibility bus"
fi
if [ -z "$wayland" ]; then
  if [ "$wm" = openbox ]; then bg openbox --sm-disable; else bg xfwm4 --compositor=off --sm-client-disable; fi >"$work/wm.log" 2>&1
  wait_for "$setup" eval 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || fail "$wm did not start"
fi
start_host() {
  if [ "$tray" = xembed ]; then bg trayer --edge bottom --align right --widthtype request --height 24 --SetDockType true \
    >"$work/trayer.log" 2>&1 && host=$! && wait_for "$setup" found xdotool search --classname '^trayer$'
  else bg "$python" "$here/sni_host.py" serve "$work/sni.log" 2>>"$work/sni-errors.log" && host=$! && wait_for "$setup" grep -qx ready "$work/sni.log"
  fi || fail "the tray host did not start"
}
[ "$tray" = none ] || start_host
if [ "$tray" = sni ]; then coproc SNI { exec "$python" "$here/sni_host.py" clicks 2>>"$work/sni-errors.log"; }; started+=("$SNI_PID"); fi
[ -n "$wayland" ] || { bg xev -geometry 480x360+0+0 -name other >/dev/null 2>&1
  wait_for "$setup" found xdotool search --name '^other$' && other="$(xdotool search --name '^other$')" || fail "no other window"; }

data_folder() { mkdir -p "$1" && printf '"ALL"\r\n"Length"\r\n' >"$1/type.txt" && printf '"Inches","Centimeters","Length","2.54",0\r\n' >"$1/convert.txt"; }
snapshot() { (cd "$1" && stat -c '%n %s %Y' type.txt convert.txt && cat type.txt convert.txt) | md5sum; }
windows() { xdotool search --all --onlyvisible "$@" --name '^QUELLOR - UNIT CONVERTER$'; }
viewable() { [[ "$(xwininfo -id "$1" 2>&1)" == *"Map State: IsViewable"* ]]; }
wm_state() { [[ "$(xprop -id "$win" WM_STATE)" =~ "window state: "([A-Za-z]+) ]] && echo "${BASH_REMATCH[1]}"; }
listed() { [[ "$(xprop -root _NET_CLIENT_LIST)," == *"$(printf ' 0x%x,' "$win")"* ]]; }  # in the task bar
restored() {  # shown, normal, focused and above the other window (the stacking order is bottom first)
  local stack; stack="$(xprop -root _NET_CLIENT_LIST_STACKING),"; stack="${stack#*"$(printf ' 0x%x,' "$other")"}"
  viewable "$win" && [ "$(wm_state)" = Normal ] && [ "$(xdotool getactivewindow)" = "$win" ] && [[ "$stack" == *"$(printf ' 0x%x,' "$win")"* ]]
}
maps() { grep -c '^MapNotify' "$work/xev-$win"; }
# The icon: a 22 x 22 window of ours inside the tray (sets icon; the one found last is asked
# first), or the last item the SNI host saw registered.
icon=""
find_icon() {
  local w parent small=$'Width: 22\n'
  [[ -n "$icon" && "$(xwininfo -id "$icon" 2>&1)" == *"$small"*"Map State: IsViewable"* ]] && return
  icon=""
  for w in $(xdotool search --all --pid "$app" --classname '^qlconvert$'); do
    parent="$(xwininfo -id "$w" -tree 2>&1)" && parent="${parent#*Parent window id: }"
    [[ "${parent%%$'\n'*}" != *"(the root window)"* && "$(xwininfo -id "$w" 2>&1)" == *"$small"*"Map State: IsViewable"* ]] && { icon="$w"; return; }
  done
  return 1
}
sni_item() { local last; last="$(tail -n1 "$work/sni.log")" && [[ "$last" == "registered "* ]] && echo "${last#registered }"; }
icon_shown() { if [ "$tray" = sni ]; then found sni_item; else find_icon; fi; }
sni() {  # COMMAND [ARG]: asks the run's one client (not in a pipeline: it has no SNI there)
  local item answer; item="$(sni_item)" || return 1
  printf '%s\t%s\t%s\n' "${item/ /$'\t'}" "$1" "${2:-}" >&"${SNI[1]}" && IFS= read -r answer <&"${SNI[0]}" || return 1
  [[ "$answer" == ok* ]] || { echo "$answer" >&2; return 1; }
  [ "$answer" = "ok " ] || echo "${answer#ok }"
}
launch() { bg sh -c 'cd "$1" && exec "$2"' - "$1" "$program" >>"$work/program.log" 2>&1; }  # DIR
start() {  # DIR [late]: starts the program there and waits for its window (and icon, unless the
  # tray comes later); sets app, win
  launch "$1" && app=$!
  wait_for 20 found windows --pid "$app" && win="$(windows --pid "$app" | head -n1)" || fail "no main window"
  [ "$tray" = none ] || [ "${2:-}" = late ] || wait_for 20 icon_shown || fail "no icon in the tray"
  # Its maps are counted from here on; a property set for the purpose shows xev is listening.
  bg xev -id "$win" -event structure -event property >"$work/xev-$win" 2>&1
  wait_for 10 eval 'xprop -id "$win" -f _QLC_TEST 8s -set _QLC_TEST x && grep -q _QLC_TEST "$work/xev-$win"' ||
    fail "cannot watch the main window"
}

focus() { xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1"; }
popups() { xdotool search --onlyvisible --pid "$app" 2>/dev/null | wc -l; }
more_popups() { [ "$(popups)" -gt "$1" ]; }; prompt() { xdotool search --all --onlyvisible --pid "$app" --name '^System Tray$' | head -n1; }
answer_prompt() {  # KEYS...: waits for the close prompt and answers it from the keyboard
  wait_for 10 found prompt && focus "$(prompt)" && xdotool key "$@" && wait_for 10 not found prompt ||
    fail "the close prompt did not come or did not close"
}
click_icon() {  # BUTTON [COUNT]; a StatusNotifierItem host is sent what those clicks send
  if [ "$tray" = sni ]; then sni "$([ "$1" = 1 ] && echo activate || echo secondary)"
  else find_icon && xdotool mousemove --window "$icon" 11 11 click --repeat "${2:-1}" --delay 80 "$1"; fi
}
tray_menu() {  # ENTRY: "&Restore" or "&Unload QLCNVT" from the icon's menu
  if [ "$tray" = sni ]; then sni click "$1" || fail "the host could not pick $1"; return; fi
  local before="$(popups)" was_hidden="$(not viewable "$win" && echo yes)" key="${1:1:1}"
  click_icon 3 && wait_for 10 more_popups "$before" || fail "a right click on the icon opened no menu"
  [ -z "$was_hidden" ] || not viewable "$win" || fail "the right click showed the window"
  xdotool key "${key,,}"
}
unload() { tray_menu "&Unload QLCNVT"; wait_for 10 not icon_shown || fail "the icon stayed"; answer_prompt "$@"; }
close_box() { focus "$win"; xdotool key alt+F4; answer_prompt "$@"; }
origin() {  # WINDOW: sets x, y and w
  [[ "$(xwininfo -id "$1")" =~ "Absolute upper-left X:"\ +(-?[0-9]+).*"Absolute upper-left Y:"\ +(-?[0-9]+).*"Width: "([0-9]+) ]] &&
    x="${BASH_REMATCH[1]}" y="${BASH_REMATCH[2]}" w="${BASH_REMATCH[3]}"
}
hide_menu() {  # File > Minimize, by keyboard
  local before="$(popups)"; focus "$win" && xdotool key alt+f && wait_for 10 more_popups "$before" && xdotool key Return || fail "alt+f opened no File menu"
}
hide_wm() { xdotool windowminimize "$win"; }  # what a task bar or pager sends
hide_titlebar() {  # the window manager's own minimise
  local x y w="$(popups)"
  if [ "$wm" = openbox ]; then  # its title bar's iconify button, third from the right
    origin "$(xwininfo -id "$win" -tree | awk '/Parent window id/ {print $4}')"
    xdotool mousemove "$((x + w - 42))" "$((y + 9))" click 1
  else  # xfwm4 offers none for a window without a minimise box: File > Minimize by mouse
    xdotool mousemove --window "$win" 20 10 click 1 && wait_for 10 more_popups "$w" || fail "a click on File opened no menu"
    origin "$(xdotool search --onlyvisible --pid "$app" | grep -vx "$win" | head -n1)"
    xdotool mousemove "$((x + 20))" "$((y + 12))" click 1
  fi
}
hide_close() { close_box Return; }; hide_unload() { unload Return; }  # the close box, then OK
restore_left() { click_icon 1; }; restore_double() { click_icon 1 2; }; restore_menu() { tray_menu "&Restore"; }
expect_hidden() { wait_for 10 eval 'not viewable "$win" && ! listed && icon_shown' || fail "not hidden to the tray, with the icon"; }
expect_restored() {  # MAPS: shown once since (mapped once more), normal, raised and focused
  wait_for 10 restored || fail "not restored: $(wm_state), $(viewable "$win" || echo 'not ')viewable, $(xdotool getactivewindow) active"
  pause && viewable "$win" || fail "the window was hidden again after it came back"
  [ "$(maps)" -eq $(($1 + 1)) ] || fail "the window was mapped $(($(maps) - $1)) times for one restore"
}
cycle() {  # HIDE RESTORE: hidden one way while the user works elsewhere, back the other
  local since="$(maps)"
  "hide_$1"; expect_hidden
  [ "$(maps)" -eq "$since" ] || fail "the window was shown while it was hidden"
  focus "$other"; pause; "restore_$2"; expect_restored "$since"
}
again() { (cd "$1" && timeout 20 "$program") >>"$work/program.log" 2>&1; }  # DIR: one more start there
second_start() {  # DIR: brings back the copy that runs there, touches no data and ends
  local before="$(snapshot "$1")" since="$(maps)"
  focus "$other"; again "$1" || fail "the second start ended with $?"
  expect_restored "$since"
  [ "$(snapshot "$1")" = "$before" ] || fail "the second start touched the data files"
}
a11y() { "$python" "$here/a11y.py" "$app" "$@"; }  # as a screen reader sees the program
# The user's work before the window goes, in turn: a control (role|label), keys typed there, and
# what it then holds (text|caret|selection from|to); and a place for the window.
works=("text|Convert From|ctrl+a 2 4 6 8 Left Left|2468|2|2|2" "text|Convert To|ctrl+a 1 3 5 shift+Left|135|2|2|3"
  "combo box|Significant Digits|ctrl+a 4 Home|4|0|0|0" "combo box|Conversion Group Type|ctrl+a L e n Left shift+Home|Len|0|0|2")
declare -A spot  # where each control is in the window
work_in() {  # N: moves the window to the Nth place and works in a control; sets place and left
  local role label keys want="$((40 + 23 * $1)) $((30 + 13 * $1))"; IFS='|' read -r role label keys left <<<"${works[$1 % 4]}"
  xdotool windowmove "$win" $want && wait_for 10 eval 'origin "$win"; [ "$x $y" = "$want" ]' || fail "the window did not move to $want"
  [ -n "${spot[$label]:-}" ] || { read -r sx sy < <(wait_for 10 a11y where "$role" "$label") && spot[$label]="$((sx - x)) $((sy - y))"; }
  xdotool mousemove --window "$win" ${spot[$label]} click 1 && xdotool key $keys && place="$want" left="$label|$left"
}
as_left() {  # the window is where it was, and typing goes on where the user left off
  origin "$win"; [ "$x $y" = "$place" ] || fail "the window came back at $x $y, not at $place"
  local label text caret from to; IFS='|' read -r label text caret from to <<<"$left"
  [ "$how" != menu ] || from="$caret" to="$caret"  # Alt gives the menu bar the focus: text fields drop their selection
  local typed="$label|${text:0:from}7${text:to}|$((from + 1))|$((from + 1))|$((from + 1))"
  xdotool type 7 && wait_for 10 eval '[ "$(a11y focus)" = "$typed" ]' || fail "typing went to $(a11y focus), not $typed"
}

data_folder "$work/a"
if [ -n "$wayland" ]; then  # no seat: menus and buttons are pressed through AT-SPI, nothing typed or clicked
  views() { weston-debug scene-graph | grep -c "top-level window '$1' of"; }
  shown() { [ "$(views 'QUELLOR - UNIT CONVERTER')" = 1 ]; }
  gone() { [ "$(views 'QUELLOR - UNIT CONVERTER')" = 0 ] && { [ "$tray" = none ] || icon_shown; }; }
  answer() { wait_for 10 eval '[ "$(views "System Tray")" = 1 ]' && a11y press "push button" "$1" || fail "no prompt to answer $1"; }
  hide_menu() { a11y press "menu item" Minimize || fail "no File > Minimize"; }; hide_prompt() { tray_menu "&Unload QLCNVT" && answer OK; }
  back_activate() { sni activate; }; back_restore() { tray_menu "&Restore"; }; back_again() { again "$work/a" || fail "the second start ended with $?"; }
  launch "$work/a" && app=$! && wait_for 20 shown && wait_for 20 found a11y where "menu item" Minimize || fail "no main window"
  [ "$tray" = none ] || wait_for 20 icon_shown || fail "no icon in the tray"
  hides=(menu menu prompt menu) backs=(activate restore activate again) && [ "$tray" = none ] && hides=(menu) backs=(again)
  for ((n = 0; n < 20; n++)); do
    how="${hides[n % ${#hides[@]}]}" back="${backs[n % ${#backs[@]}]}" step="cycle $((n + 1)): $how, then $back"
    shown || fail "the window went away after it came back"
    "hide_$how"; wait_for 10 gone || fail "not hidden (or the icon is gone)"
    "back_$back"; wait_for 10 shown || fail "not shown again"
  done
  echo "$n cycles of hiding and bringing back passed under weston"
  step="&Unload QLCNVT, Unload Program"; [ "$tray" = none ] || { tray_menu "&Unload QLCNVT" && answer "Unload Program" &&
    wait_for 10 not kill -0 "$app" && wait "$app" || fail "the program did not end, or not with 0"; }
  step="what the program printed"; not grep 'No such signal' "$work/program.log" || fail "the program asked Qt for a signal this platform lacks"
  echo "PASS: $tray tray under $wm" && exit 0
fi
start "$work/a"
if [ "$tray" != none ]; then
  [ "$tray" != sni ] || [[ "$(sni get IconPixmap)" == "[(32, 32, "* ]] || fail "the item has no 32 x 32 icon"
  hides=(menu wm titlebar close unload) backs=(left double menu) && [ "$tray" = sni ] && backs=(left menu)  # no double click
  first=$([ "$part" = 2 ] && echo 25 || echo 0) last=$([ "$part" = 1 ] && echo 25 || echo 50)
  for ((n = first; n < last; n++)); do  # every pair in turn; the first 20 with the user's focus and place
    how="${hides[n % 5]}" back="${backs[n / 5 % ${#backs[@]}]}" kept="$([ -n "$a11y" ] && [ "$n" -lt 20 ] && echo yes)"
    step="cycle $((n + 1)): $how, then $back"; [ -z "$kept" ] || work_in "$n"
    cycle "$how" "$back"; [ -z "$kept" ] || as_left
  done
  echo "$((last - first)) hide-and-restore cycles passed$([ -n "$a11y" ] && [ "$first" = 0 ] && echo ", 20 of them back in place with the same focus")"
  [ "$part" != 1 ] || { echo "PASS: $tray tray under $wm, part 1" && exit 0; }

  step="a middle click, and Unload then Cancel, leave a hidden window hidden" how=menu; [ -z "$a11y" ] || work_in 20
  hide_menu && expect_hidden && click_icon 2 && pause && not viewable "$win" || fail "a middle click showed the window"
  unload Tab Return && expect_hidden
  step="second start while hidden in the tray"; second_start "$work/a"; [ -z "$a11y" ] || as_left
  step="close box, Cancel: the window stays"; close_box Tab Return && viewable "$win" || fail "Cancel hid the window"
  step="the tray host exits while the window is hidden, and comes back"; hide_menu && expect_hidden
  kill "$host" && wait "$host" 2>/dev/null; : >"$work/sni.log"; second_start "$work/a"; start_host
  wait_for 20 icon_shown || fail "the icon did not come back with the host"
  cycle menu menu
  step="&Unload QLCNVT, Unload Program"; unload Tab Tab Return && wait_for 10 not kill -0 "$app" || fail "the program did not end"
  wait "$app" || fail "the program ended with status $?"
  icon_shown && fail "the icon stayed after the program ended"
  if [ "$tray" = xembed ]; then  # Qt docks an icon in an X11 tray that comes later (not so with SNI)
    step="a tray that starts after the program"; kill "$host" && wait "$host" 2>/dev/null
    start "$work/a" late && start_host && wait_for 20 icon_shown || fail "no icon in a tray that started after the program"
    cycle menu left
  fi
else
  iconic() { [ "$(wm_state)" = Iconic ]; }; minimise() { hide_menu; wait_for 10 iconic || fail "the window is $(wm_state)"; }
  step="no tray: File > Minimize minimises as usual"; minimise && listed || fail "the minimised window left the task bar"
  step="second start while minimised, through a link"; ln -s "$work/a" "$work/link" && second_start "$work/link"
  step="two data folders side by side"; data_folder "$work/b" && start "$work/b" && minimise
  again "$work/a" && pause && iconic || fail "a start in folder a failed or restored folder b's window"
  second_start "$work/b"
  step="a copy that was killed leaves nothing in the way"; kill -9 "$app" && wait "$app" 2>/dev/null
  ! ls -A "$XDG_RUNTIME_DIR" | grep qlconvert || fail "the killed copy left the files above"
  start "$work/b" && minimise && second_start "$work/b"
  step="a stopped copy: the next start says so in a box, ends with 1, and is not answered later"
  minimise && kill -STOP "$app" && launch "$work/b" && late=$!
  box() { xdotool search --all --onlyvisible --pid "$late" --name '^qlconvert$' | head -n1; }
  wait_for 20 found box && focus "$(box)" && xdotool key Return || fail "no message box"
  wait_for 10 not kill -0 "$late" || fail "the start did not end after its box"
  wait "$late"; rc=$?; [ "$rc" -eq 1 ] || fail "the start ended with $rc after its box"
  grep -q 'does not answer' "$work/program.log" || fail "no message on stderr"
  kill -CONT "$app" && pause && iconic || fail "the window came back for the start that gave up"
  second_start "$work/b"
  step="started as from a menu: no runtime folder, another temporary folder"; mkdir "$work/tmp"
  minimise && XDG_RUNTIME_DIR= TMPDIR="$work/tmp" second_start "$work/b"
  step="two starts at once in a new folder, one as from a menu: one hands over and ends with 0"
  data_folder "$work/c" && XDG_RUNTIME_DIR= TMPDIR="$work/tmp" launch "$work/c" && one=$! && launch "$work/c" && two=$!
  wait_for 20 eval '! kill -0 $one || ! kill -0 $two' || fail "neither start ended"
  if kill -0 "$one" 2>/dev/null; then wait "$two"; else wait "$one"; fi || fail "the start that handed over ended with $?"
  kill -0 "$one" 2>/dev/null || kill -0 "$two" 2>/dev/null || fail "both starts ended"
  wait_for 20 eval '[ "$(windows | wc -l)" -eq 3 ]' || fail "$(windows | wc -l) windows for three folders"
  if [ "$(id -u)" = 0 ]; then  # another user takes the name our copy in folder d would have
    step="another user's process under our name is not handed over to"; data_folder "$work/d"
    name="qlconvert-0-$(printf '0\n%s' "$(realpath "$work/d")" | sha256sum | cut -c1-24)"
    bg runuser -u nobody -- "$python" -c 'import socket, sys
s = socket.socket(socket.AF_UNIX); s.settimeout(60); s.bind("\0" + sys.argv[1]); s.listen(); print("ready", flush=True)
c, _ = s.accept(); c.recv(64); c.send(b"ok\n"); c.recv(64)' "$name" >"$work/squatter.log" 2>&1
    wait_for 10 grep -qx ready "$work/squatter.log" || fail "the other user's socket did not start"
    start "$work/d"
  fi
fi
echo "PASS: $tray tray under $wm"
