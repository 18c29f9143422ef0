# Sourced by the run and test commands (and by wine-exec.sh): a private Wine prefix, quiet Wine,
# and an X screen to show windows on. Settings, all optional:
#   TB_WINEPREFIX  the prefix to use (default: $HOME/.cache/tunebalk/wineprefix); WINEPREFIX
#                  is then set to it
#   TB_XVFB=1      always use a private virtual screen, even when DISPLAY is set
#   TB_SCREEN      geometry of that screen (default 1280x800x24)
#   TB_WINE_MANAGED=Y|N  whether the X window manager manages Wine's windows (default: N on
#                  our own virtual screen, which has none; Y otherwise)
# Processes it starts are ended by pid when the sourcing shell exits; add your own clean-up
# with tb_at_exit "command".

if [ -n "${TB_WINE_ENV_LOADED:-}" ]; then
    return 0
fi
TB_WINE_ENV_LOADED=1

export TB_WINEPREFIX="${TB_WINEPREFIX:-${HOME:-/tmp}/.cache/tunebalk/wineprefix}"
export WINEPREFIX="$TB_WINEPREFIX"
export WINEDEBUG="${TB_WINEDEBUG:--all}"
# No .NET or Gecko download prompts; no debugger that waits for someone after a crash; no
# entries in the Linux desktop's menu for the shortcuts that a setup makes in the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d"
export WINEARCH=win64

TB_EXIT_HOOKS=()
tb_at_exit() { TB_EXIT_HOOKS+=("$1"); }
tb_run_exit_hooks() {
    local i
    for ((i = ${#TB_EXIT_HOOKS[@]} - 1; i >= 0; i--)); do
        eval "${TB_EXIT_HOOKS[$i]}" || true
    done
    TB_EXIT_HOOKS=()
}
trap tb_run_exit_hooks EXIT

tb_wine_log() { echo "[wine-env] $*" >&2; }

# wineboot once per prefix; a lock keeps parallel first runs from booting it twice.
tb_wine_boot() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    if [ -f "$WINEPREFIX/system.reg" ] && [ -f "$WINEPREFIX/.tb-booted" ]; then
        return 0
    fi
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.tb-booted" ]; then
            tb_wine_log "preparing Wine prefix $WINEPREFIX (once)"
            wineboot -i >/dev/null 2>&1
            wineserver -w
            touch "$WINEPREFIX/.tb-booted"
        fi
    ) 9>"$WINEPREFIX.lock"
}

# A private Xvfb when there is no screen (or one is asked for); Xvfb picks a free display.
tb_start_xvfb() {
    local geometry="${TB_SCREEN:-1280x800x24}" fdfile
    fdfile="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp -noreset 3>"$fdfile" >/dev/null 2>&1 &
    TB_XVFB_PID=$!
    tb_at_exit "kill $TB_XVFB_PID 2>/dev/null; wait $TB_XVFB_PID 2>/dev/null"
    local i
    for ((i = 0; i < 100; i++)); do
        if [ -s "$fdfile" ]; then break; fi
        if ! kill -0 "$TB_XVFB_PID" 2>/dev/null; then break; fi
        sleep 0.1
    done
    local display
    display="$(tr -dc '0-9' <"$fdfile")"
    rm -f "$fdfile"
    if [ -z "$display" ]; then
        tb_wine_log "Xvfb did not start"
        return 1
    fi
    export DISPLAY=":$display"
    # Programs started from here (CTest's wine-exec.sh) use this screen, not one of their own.
    export TB_XVFB=0
    tb_wine_log "virtual screen $DISPLAY ($geometry), Xvfb pid $TB_XVFB_PID"
}

# One Wine session for many programs in a row (each then starts in a fraction of a second),
# ended with everything still running in the prefix when the sourcing shell exits. It outlives
# a killed shell by a minute at most.
tb_wine_session() {
    wineserver -p60
    wine cmd /c exit 0 </dev/null >/dev/null 2>&1
    tb_at_exit "wineserver -k 2>/dev/null"
}

# Wine waits up to a second for a window manager at each hide of a window it lets one manage;
# on a screen without one, Wine manages its windows itself. Written only when it changes.
tb_wine_window_manager() {
    local mark="$WINEPREFIX/.tb-managed"
    if [ "$(cat "$mark" 2>/dev/null)" = "$TB_WINE_MANAGED" ]; then
        return 0
    fi
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$TB_WINE_MANAGED" /f \
        </dev/null >/dev/null 2>&1 && echo "$TB_WINE_MANAGED" >"$mark"
}

if [ -z "${DISPLAY:-}" ] || [ "${TB_XVFB:-0}" = 1 ]; then
    tb_start_xvfb || return 1
    export TB_WINE_MANAGED="${TB_WINE_MANAGED:-N}"
fi
export TB_WINE_MANAGED="${TB_WINE_MANAGED:-Y}"
tb_wine_boot
tb_wine_window_manager
