#!/usr/bin/env bash
# ./run.sh screenshots: the pictures of docs/screenshots, taken from the real program on the demo
# day under a virtual X server. Xvfb, xdotool and ImageMagick are installed here when missing
# (tools of the developer, not of the program).
#
# Each picture is one line of CAPTURAS: NAME|USER PASSWORD (or - for no login)|STEPS. STEPS are
# xdotool words run after the main window shows: "key F2", "type 5", "sleep 2". To add a screen,
# add its line. CORVALO_SCREENSHOTS="NAME NAME" takes only those.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="$ROOT/docs/screenshots"
PANTALLA="${CORVALO_SCREENSHOT_DISPLAY:-:97}"
CAPTURAS=(
    "login|-|"
    "menu_taquilla|taq1 taq2801|"
    "menu_supervisor|super1 sup2801|"
    "menu_visor|visor1 vis2801|"
    "venta_taquilla|taq1 taq2801|key F2 sleep 3"
    "cobro_boleto|taq1 taq2801|key F2 sleep 3 key F3 sleep 1"
    "resumen_taquilla|taq1 taq2801|key F2 sleep 3 key F4 sleep 2 key alt+b sleep 2"
    "listas_taquilla|taq1 taq2801|key F2 sleep 3 key F11 sleep 2 key alt+v sleep 2"
    "venta_operador|oper1 ope2801|key F2 sleep 3"
    "venta_marcas|oper1 ope2801|key F2 sleep 3 key F8 sleep 2"
    "puerto_impresion|taq1 taq2801|key alt+c sleep 0.5 key p sleep 1"
    "gerencia_venta|super1 sup2801|key alt+g sleep 0.5 key g sleep 4"
    "gerencia_cuadre|super1 sup2801|key alt+g sleep 0.5 key g sleep 4 key alt+u sleep 2"
    "gerencia_boletos|super1 sup2801|key alt+g sleep 0.5 key g sleep 4 key alt+b sleep 2"
    "visor_triple|visor1 vis2801|key alt+p sleep 0.5 key 1 sleep 4"
    "reporte_cuadre_ventas|super1 sup2801|key alt+r sleep 0.5 key v sleep 2"
    "reporte_por_taquilla|super1 sup2801|key alt+r sleep 0.5 key t sleep 2"
    "reporte_por_carrera|super1 sup2801|key alt+r sleep 0.5 key c sleep 2"
    "reporte_eliminados|super1 sup2801|key alt+r sleep 0.5 key e sleep 2"
)

faltan=()
for p in xvfb xdotool imagemagick; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltan+=("$p")
done
if [ ${#faltan[@]} -gt 0 ]; then
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get install -y -qq --no-install-recommends "${faltan[@]}"
fi

# The demo: server, demo day and the program's command line (printed when there is no display).
comando="$(env -u DISPLAY -u WAYLAND_DISPLAY "$ROOT/run.sh" demo 2>/dev/null | sed -n 's/^  //p' | tail -1)"
[ -n "$comando" ] || { echo "the demo did not start" >&2; exit 1; }

Xvfb "$PANTALLA" -screen 0 1366x768x24 >/dev/null 2>&1 &
xvfb=$!
programa=""
trap 'kill $programa $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY="$PANTALLA"
mkdir -p "$OUT"

for c in "${CAPTURAS[@]}"; do
    IFS='|' read -r nombre acceso pasos <<<"$c"
    [ -z "${CORVALO_SCREENSHOTS:-}" ] || [[ " $CORVALO_SCREENSHOTS " == *" $nombre "* ]] || continue
    eval "exec $comando" >/dev/null 2>&1 &
    programa=$!
    sleep 5 # the splash, then the login
    if [ "$acceso" != - ]; then
        read -r usuario clave <<<"$acceso"
        xdotool type --delay 30 "$usuario"; xdotool key Tab
        xdotool type --delay 30 "$clave"; xdotool key Return
        sleep 4
        # No window manager: the main window is put over the whole screen and given the keyboard.
        w="$(xdotool search --onlyvisible --name 'MENU PRINCIPAL' | head -1)"
        [ -n "$w" ] && xdotool windowmove "$w" 0 0 windowsize "$w" 1366 768 windowfocus "$w" && sleep 1
    fi
    set -- $pasos
    while [ $# -gt 0 ]; do
        case "$1" in
        sleep) sleep "$2" ;;
        key) xdotool key "$2" ;;
        type) xdotool type --delay 30 "$2" ;;
        esac
        shift 2
    done
    sleep 1
    import -display "$PANTALLA" -window root "$OUT/$nombre.png"
    echo "$OUT/$nombre.png"
    kill "$programa" 2>/dev/null || true
    wait "$programa" 2>/dev/null || true
    programa=""
done

# A workstation that is not set up yet: no settings file, no print settings, no report database.
if [ -z "${CORVALO_SCREENSHOTS:-}" ] || [[ " $CORVALO_SCREENSHOTS " == *" puesto_sin_preparar "* ]]; then
    vacio="$(mktemp -d)"
    HOME="$vacio" XDG_CONFIG_HOME="$vacio/.config" "$ROOT/build/app/corvalo" --log-file "$vacio/log" >/dev/null 2>&1 &
    programa=$!
    sleep 5
    import -display "$PANTALLA" -window root "$OUT/puesto_sin_preparar.png"
    echo "$OUT/puesto_sin_preparar.png"
    kill "$programa" 2>/dev/null || true
    rm -rf "$vacio"
fi
