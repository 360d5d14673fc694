# Wine session for the Windows tests, sourced by test.sh: an Xvfb display, a private prefix
# under the build folder, a persistent wineserver and the emulated keyboard driver loaded.
#   z4_wine_up BUILD_DIR   start everything; exports WINEPREFIX DISPLAY WINEDEBUG WINEDLLOVERRIDES
#   z4_wine_down           stop what z4_wine_up started; safe to call twice or after a failed up
# Sourcing defines the functions and nothing else.

Z4_WINE64=/usr/lib/wine/wine64
Z4_WINESERVER=/usr/bin/wineserver

# Runs a Windows program in the prefix, its chatter into the session log.
z4_wine_run() {
  "$Z4_WINE64" "$@" >>"$Z4_WINE_LOG" 2>&1
}

# Starts Xvfb on the first free display from :40 up (clear of the low numbers other runs use).
# Xvfb takes the display's lock file itself, so a display lost to a parallel run just makes it
# exit, and the next number is tried.
z4_start_xvfb() {
  local n
  for n in $(seq 40 99); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >>"$Z4_WINE_LOG" 2>&1 &
    Z4_XVFB_PID=$!
    local i
    for i in $(seq 1 50); do
      if ! kill -0 "$Z4_XVFB_PID" 2>/dev/null; then
        break
      fi
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n"
        return 0
      fi
      sleep 0.1
    done
    kill "$Z4_XVFB_PID" 2>/dev/null || true
    wait "$Z4_XVFB_PID" 2>/dev/null || true
    Z4_XVFB_PID=
  done
  echo "wine-env: no free X display in :40..:99" >&2
  return 1
}

z4_wine_up() {
  local build_dir=${1:?usage: z4_wine_up BUILD_DIR}
  build_dir=$(cd "$build_dir" && pwd) || return 1
  local sys="$build_dir/tools/kvkbd-emu/kvkbd.sys"
  local ping="$build_dir/tools/kvkbd-emu/kvkbd-ping.exe"
  if [ ! -f "$sys" ] || [ ! -f "$ping" ]; then
    echo "wine-env: $sys or $ping missing; build the win64 preset first" >&2
    return 1
  fi

  z4_wine_down  # a second up in the same shell replaces the first session
  export WINEPREFIX="$build_dir/wineprefix"
  export WINEDEBUG=-all
  # No network here: keep wineboot from offering to install Mono and Gecko.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  Z4_WINE_LOG="$build_dir/wine-env.log"
  : >"$Z4_WINE_LOG"

  mkdir -p "$WINEPREFIX" || return 1
  z4_start_xvfb || return 1

  # A server left over from an earlier run of this prefix would hold a dead display.
  "$Z4_WINESERVER" -k >/dev/null 2>&1 || true
  # Persistent: without -p the driver unloads whenever the last Windows process ends.
  "$Z4_WINESERVER" -p || { echo "wine-env: wineserver did not start" >&2; return 1; }
  Z4_WINESERVER_UP=1

  z4_wine_run wineboot || { echo "wine-env: wineboot failed, see $Z4_WINE_LOG" >&2; return 1; }
  # There is no Arial; captions drawn in Arial render in Liberation Sans.
  z4_wine_run reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ \
    /d 'Liberation Sans' /f || { echo "wine-env: font replacement failed" >&2; return 1; }

  cp "$sys" "$WINEPREFIX/drive_c/windows/system32/drivers/kvkbd.sys" || return 1
  if ! z4_wine_run sc query kvkbd; then
    z4_wine_run sc create kvkbd type= kernel start= demand \
      binPath= 'C:\windows\system32\drivers\kvkbd.sys' ||
      { echo "wine-env: sc create failed, see $Z4_WINE_LOG" >&2; return 1; }
  fi
  z4_wine_run sc start kvkbd || { echo "wine-env: sc start failed, see $Z4_WINE_LOG" >&2; return 1; }
  Z4_DRIVER_UP=1

  local i
  for i in $(seq 1 50); do
    if "$Z4_WINE64" "$ping" >>"$Z4_WINE_LOG" 2>&1; then
      echo "wine-env: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX, kvkbd driver answers"
      return 0
    fi
    sleep 0.1
  done
  echo "wine-env: the kvkbd driver does not answer, see $Z4_WINE_LOG" >&2
  return 1
}

z4_wine_down() {
  if [ -n "${Z4_DRIVER_UP:-}" ]; then
    z4_wine_run sc stop kvkbd || true
    Z4_DRIVER_UP=
  fi
  if [ -n "${Z4_WINESERVER_UP:-}" ]; then
    "$Z4_WINESERVER" -k >/dev/null 2>&1 || true
    Z4_WINESERVER_UP=
  fi
  if [ -n "${Z4_XVFB_PID:-}" ]; then
    kill "$Z4_XVFB_PID" 2>/dev/null || true
    wait "$Z4_XVFB_PID" 2>/dev/null || true
    Z4_XVFB_PID=
  fi
  return 0
}
