# Sourced: prepares Wine for the launcher and its tests.
#   source scripts/wine-env.sh fresh   a new prefix and display for this run,
#                                     both removed by wine_env_stop
#   source scripts/wine-env.sh fresh i386
#                                     the same with Wine's 32-bit part: 32-bit
#                                     programs (the shipped Launcher.exe) run
#                                     with their own process emulated by
#                                     qemu-i386, everything else natively
#   source scripts/wine-env.sh         the developer's prefix in build/wine64,
#                                     kept between runs
# Sets WINEPREFIX, WINEARCH, DISPLAY (a virtual one unless a usable display is
# given), LANG (code page 936 needs zh_CN) and keeps one wineserver alive.
# LAUNCHER_WINE_LOCALE chooses another locale, e.g. en_US.UTF-8 for a Western
# system (ANSI code page 1252). Wine 8 takes the code pages from LANG/LC_ALL
# when each process starts, not from the prefix, so setting it here gives
# the server, the session's system processes (the tray's shell among them)
# and the programs under test the same one.
# LAUNCHER_WINE_DPI gives a new prefix another system DPI (HKCU\Control
# Panel\Desktop LogPixels, e.g. 144 for a display at 150 %).
# LAUNCHER_WINE_COMPOSITED=1 runs a compositing manager (xcompmgr) on a new
# display: a window with per-pixel alpha is then blended over what lies
# behind it, as on a player's desktop, instead of showing its premultiplied
# colour as if over black.

_wine_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# A 64-bit prefix and loader: the Windows programs under test are 64-bit
# builds of the launcher's sources (scripts/wine-bin says why).
export WINEARCH=win64
export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
unset LAUNCHER_WINE_EMULATED
case ":$PATH:" in *":$_wine_root/scripts/wine-bin:"*) ;; *) export PATH="$_wine_root/scripts/wine-bin:$PATH" ;; esac
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=${LAUNCHER_WINE_LOCALE:-zh_CN.UTF-8}
export LC_ALL=$LANG
_wine_fresh=${1:-}
_wine_i386=${2:-}
_wine_started_xvfb=""
_wine_started_compositor=""
_wine_keep_display=""

# This machine's kernel may run no 32-bit code at all, so Wine's 32-bit
# loader runs under qemu-i386 in user mode: the 64-bit loader starts a 32-bit
# program through the loader named "wine" in its own directory, and the
# 32-bit loader finds its libraries from its own real path. A private
# directory holds copies of both loaders, a "wine" that runs the 32-bit one
# under qemu through scripts/wine-emulated (which keeps a record of every
# emulated process, for scripts/wine-run to judge a failure by), and links
# to the system's libraries, so nothing is registered machine-wide.
_wine_make_i386_loader() {  # directory
  local lib="$1/lib"
  mkdir -p "$lib/wine" "$1/share" "$1/runs"
  cp /usr/lib/wine/wine64 "$lib/wine/wine64"
  cp /usr/lib/wine/wine "$lib/wine/wine.i386"
  ln -s /usr/lib/wine/wineserver "$lib/wine/wineserver"
  ln -s /usr/lib/x86_64-linux-gnu "$lib/x86_64-linux-gnu"
  ln -s /usr/lib/i386-linux-gnu "$lib/i386-linux-gnu"
  ln -s /usr/share/wine "$1/share/wine"
  printf '#!/bin/sh\nexec "%s" "%s" "%s" "$@"\n' "$_wine_root/scripts/wine-emulated" "$1" "$lib/wine" >"$lib/wine/wine"
  chmod +x "$lib/wine/wine"
  : >"$1/starts"
  : >"$1/crashes"
  : >"$1/reruns"
}

if [ "$_wine_fresh" = fresh ]; then
  _wine_tmp=$(mktemp -d /tmp/launcher-wine.XXXXXX)
  export WINEPREFIX="$_wine_tmp/prefix"
  if [ "$_wine_i386" = i386 ]; then
    _wine_make_i386_loader "$_wine_tmp/i386"
    export WINELOADER="$_wine_tmp/i386/lib/wine/wine64"
    # scripts/wine-run ends the emulated processes after each program and
    # runs a failed program again only for a cause the records prove is not
    # the program's.
    export LAUNCHER_WINE_EMULATED="$_wine_tmp/i386"
  fi
else
  # Only the developer's own prefix keeps a display between runs; a caller
  # that names its prefix (the demo) stops what it started.
  [ -z "${WINEPREFIX:-}" ] && _wine_keep_display=1
  export WINEPREFIX=${WINEPREFIX:-$_wine_root/build/wine64/prefix}
fi

# A display: the caller's if it answers, else the developer prefix's own
# Xvfb from an earlier run, else a new Xvfb of our own.
_wine_display_file="$WINEPREFIX.display"
if [ -n "${_wine_keep_display:-}" ] && { [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; } &&
  [ -f "$_wine_display_file" ] && DISPLAY=$(cat "$_wine_display_file") xdpyinfo >/dev/null 2>&1; then
  DISPLAY=$(cat "$_wine_display_file")
  export DISPLAY
fi
if [ "$_wine_fresh" = fresh ] || [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    _wine_started_xvfb=$!
    export DISPLAY=":$n"
    for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
    if [ "${LAUNCHER_WINE_COMPOSITED:-}" = 1 ]; then
      xcompmgr >/dev/null 2>&1 &
      _wine_started_compositor=$!
    fi
    # The developer's prefix keeps its display for the next run.
    if [ -n "${_wine_keep_display:-}" ]; then
      mkdir -p "$(dirname "$_wine_display_file")"
      echo "$DISPLAY" >"$_wine_display_file"
      _wine_started_xvfb=""
    fi
    break
  done
fi

mkdir -p "$WINEPREFIX"
# One server for the whole run: a warm start of a program costs a fifth. It
# may be running already, from an earlier run in the developer's prefix.
wineserver -p 2>/dev/null || true
if [ ! -f "$WINEPREFIX/.launcher-ready" ]; then
  wineboot -i >/dev/null 2>&1
  # Without a window manager every hide of an active window stalls ~2 s
  # unless Wine manages the windows itself.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  # Every Windows carries Chinese fonts and links the dialog fonts to them,
  # so Chinese shows on a Western system too. Wine links the dialog fonts to
  # SimSun, which it does not have: the Chinese font of the machine stands in.
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /t REG_SZ /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
  # Wine takes the system DPI when a server session starts: the new session
  # below starts with it.
  if [ -n "${LAUNCHER_WINE_DPI:-}" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$LAUNCHER_WINE_DPI" /f >/dev/null 2>&1
  fi
  touch "$WINEPREFIX/.launcher-ready"
  # The first start leaves the service database locked for the session, so
  # RpcSs never starts and every browser control waits 3 to 10 s for it
  # (ole32's start_rpcss). A new server session starts it normally.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  wineserver -p 2>/dev/null || true
fi
# The session's system processes (services, RpcSs, devices) start with the
# first program and keep its standard handles: started here, they hold
# nothing of a caller's, such as the pipe CTest waits on.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true

wine_env_stop() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$_wine_started_compositor" ] && kill "$_wine_started_compositor" 2>/dev/null
  [ -n "$_wine_started_xvfb" ] && kill "$_wine_started_xvfb" 2>/dev/null
  [ -n "${_wine_tmp:-}" ] && rm -rf "$_wine_tmp"
  return 0
}
export LAUNCHER_WINE_READY=1
