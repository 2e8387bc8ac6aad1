# Sourced by the scripts that run our .exe files: a wine prefix of the build's
# own and a running wineserver whose output is detached, so that nothing that
# wine leaves running holds our standard output open.
#   ks_wine_start BUILD_DIR   /   ks_wine_stop
#   ks_wine_serve: the prefix and server part of ks_wine_start, for a
#   WINEPREFIX of the caller's own.
#   ks_wine_prefix PREFIX: makes the prefix when it is new, leaving no server
#   running in it (so that it can be copied); ks_wine_fonts: the fonts wine
#   needs, put into $WINEPREFIX.
#   ks_await_exit PID SECONDS: waits until the process has ended; fails when
#   it still runs after SECONDS (it is left running).
ks_wine_start() {
  export WINEPREFIX="$1/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  ks_wine_prefix "$WINEPREFIX"
  ks_wine_fonts
  ks_wine_serve
}

# ks_wine_fonts: this wine does not find the faces of fonts-wine (Tahoma
# among them, the factory skins' font) where they are installed, and would
# draw every text in a wider substitute; in $WINEPREFIX's Fonts folder it
# finds them.
ks_wine_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" face
  for face in /usr/share/wine/fonts/*.ttf; do
    [ -e "$face" ] && [ ! -e "$fonts/${face##*/}" ] && { cp "$face" "$fonts/" 2>/dev/null || true; }
  done
  return 0
}

# ks_wine_serve: sets $WINEPREFIX up when it is new and starts its persistent
# wineserver.
ks_wine_serve() {
  ks_wine_prefix "$WINEPREFIX"
  wineserver -p </dev/null >/dev/null 2>&1
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

ks_wine_prefix() {
  [ -d "$1" ] && return 0
  # A new prefix is set up by a wineserver that wine starts itself and that
  # holds the prefix's registry in memory until it ends. Let it end, writing
  # the registry, before ours starts: a server that died later would
  # otherwise take the whole set-up with it (no shell folders, no COM
  # classes) for every program after.
  (
    export WINEPREFIX="$1"
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
    # Without a window manager wine would wait ~2 s on every DestroyWindow.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
    timeout 120 wineserver -w </dev/null >/dev/null 2>&1
  )
}

ks_wine_stop() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
}

ks_await_exit() {
  local pid="$1" tries=$(($2 * 5))
  while [ "$tries" -gt 0 ] && kill -0 "$pid" 2>/dev/null; do
    sleep 0.2
    tries=$((tries - 1))
  done
  ! kill -0 "$pid" 2>/dev/null
}
