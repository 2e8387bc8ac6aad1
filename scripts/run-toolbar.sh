# Sourced by run.sh once the simulator runs: starts corvexa-toolbar against it.
#   ks_run_toolbar
# Uses run.sh's work, build, toolbar_exe, sim_scripts and WINEPREFIX, and sets
# its toolbar_pid and prefs_file. With KS_RUN_TOUR set (run.sh's private Xvfb)
# it clicks through a short tour and closes the toolbar; otherwise it waits
# for the user to close the toolbar.

# The toolbar's window id once it has its size (its owner window has the
# same title and no size), or nothing yet.
ks_toolbar_window() {
  local wind geometry w h
  for wind in $(xdotool search --onlyvisible --name '^Corvexa Toolbar$' 2>/dev/null); do
    geometry="$(xdotool getwindowgeometry "$wind" 2>/dev/null | sed -n 's/.*Geometry: //p')"
    w="${geometry%x*}"
    h="${geometry#*x}"
    if [ -n "$w" ] && [ -n "$h" ] && [ $((w * h)) -gt 10000 ]; then
      echo "$wind"
      return
    fi
  done
}

# Waits (10 s at most) until the simulator's log has not grown for a second.
ks_wait_quiet() {
  local before after
  for _ in $(seq 10); do
    before="$(wc -l <"$sim_scripts")"
    sleep 1
    after="$(wc -l <"$sim_scripts")"
    [ "$before" = "$after" ] && return
  done
}

# Sets win_x, win_y, win_h from the toolbar window's place and size.
ks_toolbar_place() {
  eval "$(xdotool getwindowgeometry --shell "$toolbar" | sed -n 's/^X=/win_x=/p; s/^Y=/win_y=/p; s/^HEIGHT=/win_h=/p')"
}

# Clicks the point inX inY of the toolbar's client area, then takes the
# pointer away (no tool tip in the screenshots).
ks_toolbar_click() {
  ks_toolbar_place
  xdotool mousemove $((win_x + $1)) $((win_y + $2)) click 1
  sleep 0.2
  xdotool mousemove 1200 1000
}

# Waits for the toolbar's reaction, then prints what the simulator received
# since the last step (at most inMaxLines lines, default all) and takes the
# step's screenshot.
ks_tour_step() {
  local name="$1" max="${2:-1000}"
  ks_wait_quiet
  local lines
  lines="$(wc -l <"$sim_scripts")"
  echo "   the engine received:"
  tail -n +"$((log_seen + 1))" "$sim_scripts" |
    sed -n 's/^[-0-9]* [0-9:.]* #[0-9]* 0x[0-9A-F]* > \(.\)/     \1/p; s/^[-0-9]* [0-9:.]* #[0-9]* 0x[0-9A-F]* > $/     (an empty text)/p' |
    awk -v max="$max" 'NR <= max { print } END { if (NR > max) print "     ... (" NR - max " more)" }'
  log_seen="$lines"
  shot=$((shot + 1))
  import -window root "$shots/$(printf '%02d' "$shot")-$name.png"
}

ks_run_toolbar() {
  local user_dir="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Roaming/Kestrova/Corvexa"
  prefs_file="$user_dir/Toolbar Preferences.txt"
  if [ -n "${KS_RUN_TOUR:-}" ]; then
    # A fresh start: the advanced panel folded in, the toolbar at 20,20.
    mkdir -p "$user_dir"
    [ -f "$prefs_file" ] && cp "$prefs_file" "$work/prefs.saved"
    printf 'Vers=350\r\nAPrf=0\r\nBarX=20\r\nBarY=20\r\nTApr=1\r\nACls=0\r\nSkin="Factory Blue"\r\n' \
      >"$prefs_file"
  else
    prefs_file=""
  fi

  echo "== Starting corvexa-toolbar"
  # What the simulator received before the toolbar came is corvexa-ctl's.
  log_seen="$(wc -l <"$sim_scripts")"
  # Not with the simulator's input (descriptor 3): what wine starts for the
  # toolbar outlives it and would keep that input open.
  wine "$toolbar_exe" </dev/null >/dev/null 2>&1 3>&- &
  toolbar_pid=$!
  toolbar=""
  for _ in $(seq 300); do
    toolbar="$(ks_toolbar_window)"
    [ -n "$toolbar" ] && break
    sleep 0.2
  done
  if [ -z "$toolbar" ]; then
    echo "The toolbar's window did not appear."
    return 1
  fi

  if [ -z "${KS_RUN_TOUR:-}" ]; then
    echo "The toolbar is connected to \"$engine_name\"; close it to end."
    wait "$toolbar_pid"
    toolbar_pid=""
    return 0
  fi

  shots="$build/run-screenshots"
  rm -rf "$shots"
  mkdir -p "$shots"
  shot=0
  # Connecting: the toolbar asks for everything it shows, the full-screen
  # mode last.
  for _ in $(seq 300); do
    tail -n +"$((log_seen + 1))" "$sim_scripts" | grep -q "GetFullscreenMode" && break
    sleep 0.2
  done
  echo "-- The toolbar connects and reads the engine's state"
  ks_tour_step connected 8

  echo "-- Next wave shape (the > beside the wave shapes)"
  ks_toolbar_click 366 20
  ks_tour_step next-wave-shape

  echo "-- A color map from the list (the third row it shows)"
  ks_toolbar_click 264 44
  sleep 1
  import -window root "$shots/$(printf '%02d' $((shot + 1)))-color-map-list-open.png"
  shot=$((shot + 1))
  # The open list is the newest visible window of the program besides the
  # toolbar, its owner and the tray.
  local list="" wind
  for wind in $(xdotool search --onlyvisible --class 'corvexa-toolbar' 2>/dev/null); do
    [ "$wind" = "$toolbar" ] && continue
    case "$(xdotool getwindowname "$wind" 2>/dev/null)" in
      "Corvexa Toolbar" | "Wine System Tray") continue ;;
    esac
    list="$wind"
  done
  if [ -n "$list" ]; then
    eval "$(xdotool getwindowgeometry --shell "$list" | sed -n 's/^X=/list_x=/p; s/^Y=/list_y=/p')"
    xdotool mousemove $((list_x + 30)) $((list_y + 40)) click 1
    sleep 0.2
    xdotool mousemove 1200 1000
  else
    echo "   (the list did not open)"
  fi
  ks_tour_step color-map-chosen

  echo "-- The wave-shape slide show switched (the cycle box)"
  ks_toolbar_click 392 20
  ks_tour_step wave-shape-slide-show

  echo "-- The advanced panel opened (More)"
  ks_toolbar_place
  local before="$win_h"
  ks_toolbar_click 728 68
  ks_tour_step advanced-panel
  ks_toolbar_place
  echo "   the toolbar grew from $before to $win_h pixels high"

  echo "Screenshots of each step: $shots"
  # Its close button: the toolbar stores its place and theme and ends.
  ks_toolbar_click 744 20
  if ! ks_await_exit "$toolbar_pid" 20; then
    echo "The toolbar did not close; ending it."
    kill "$toolbar_pid"
  fi
  wait "$toolbar_pid" 2>/dev/null
  toolbar_pid=""
  [ "$win_h" -gt "$before" ]
}
