# Shared by scripts/test, scripts/run and scripts/package: installs what is
# missing, builds both builds and prepares Wine in a virtual X display.
# Sourced, not run.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$ROOT/build

PACKAGES=(
    cmake ninja-build g++ googletest libbenchmark-dev xsltproc   # host build and its tests
    unicode-data                                        # the data Find's tables are checked against
    g++-mingw-w64-x86-64                                # the Windows build
    wine wine64 xvfb x11-utils imagemagick              # running it: Wine, display, screenshots
    chromium poppler-utils                              # the preview page in a browser
    python3-icalendar tzdata                            # the .ics tests: an independent parser, the zone database
    nsis zip                                            # the installer and the portable zip
    radicale python3-caldav curl                        # sync: a CalDAV server, a "phone" for it, a calendar made
)

install_missing_packages() {
    local missing=() package
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    ((${#missing[@]} == 0)) && return
    echo "Installing Debian packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" = 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

configure_and_build_windows() {
    [ -f "$BUILD/win/CMakeCache.txt" ] ||
        cmake -S "$ROOT" -B "$BUILD/win" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake"
    cmake --build "$BUILD/win"
}

configure_and_build() {
    [ -f "$BUILD/host/CMakeCache.txt" ] ||
        cmake -S "$ROOT" -B "$BUILD/host" -G Ninja
    cmake --build "$BUILD/host"
    configure_and_build_windows
}

# A private Wine: its own prefix under the build folder, quiet, without the
# Mono and Gecko installers, and no crash dialog that would hang a test.
export WINEPREFIX=$BUILD/wineprefix
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

XVFB_PID=""

start_virtual_display() {
    local number=90
    while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do
        number=$((number + 1))
    done
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$number"
    local tries=0
    until xdpyinfo >/dev/null 2>&1; do
        tries=$((tries + 1))
        if ((tries > 100)); then
            echo "The virtual X display did not start." >&2
            return 1
        fi
        sleep 0.1
    done
}

# A Wine set-up step whose errors are kept in build/wine-setup.log and shown
# when it fails.
wine_step() {
    if ! WINEDEBUG=-all,err+all "$@" >>"$BUILD/wine-setup.log" 2>&1; then
        echo "Preparing Wine failed at: $*" >&2
        tail -n 40 "$BUILD/wine-setup.log" >&2
        return 1
    fi
}

prepare_wine() {
    : >"$BUILD/wine-setup.log"
    if [ ! -f "$WINEPREFIX/.orvik-ready" ]; then
        echo "Creating the Wine prefix $WINEPREFIX"
        wine_step wineboot -i
        wineserver -w
        # Every window inside one virtual desktop: without a window manager,
        # Wine waits about two seconds for each top-level window otherwise.
        wine_step wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
        wine_step wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f
        wine_step wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
        wineserver -w
        touch "$WINEPREFIX/.orvik-ready"
    fi
    # Wine's own MS Sans Serif and Marlett, which the dialogs and caption
    # buttons are drawn with; without them wider stand-ins clip texts.
    local fonts=$WINEPREFIX/drive_c/windows/Fonts
    mkdir -p "$fonts"
    cp -n /usr/share/wine/fonts/sserife.fon /usr/share/wine/fonts/marlett.ttf "$fonts/" 2>/dev/null || true
    # One server for the whole run, so every Wine process starts quickly; and
    # the desktop and services started now, not by a test whose output pipe
    # they would keep open. The second process starts alone on a settled
    # prefix, as every test after it does.
    # A server that already runs for this prefix (a manual session) serves
    # as well; `wineserver -p` then exits with 2.
    wineserver -p || true
    wine_step wine cmd /c exit
    wine_step wine cmd /c exit
}

stop_wine_and_display() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" >/dev/null 2>&1 || true
}
