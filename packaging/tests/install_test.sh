#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian package into this system, starts the installed program
# on a private X server, closes it with its exit button, then purges the
# package and checks that none of its files are left behind.
#
# The system is always left without the package: a copy installed before the
# test is replaced by the one under test and purged like it.
#
# Usage: install_test.sh DEB APP_ID      (exits 77, "skipped", without root)
set -euo pipefail

deb=$1 app_id=$2
package=transpose-drill
program=/usr/bin/transpose-drill
caption="Перенос слагаемых из одной части уравнения в другую"
# Centre of the exit button ("Выход") in window coordinates.
exit_x=$((440 + 64)) exit_y=$((416 + 16))

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

as_root=()
if [[ $(id -u) -ne 0 ]]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        as_root=(sudo -n)
    else
        echo "SKIP: installing a package needs root or passwordless sudo"
        exit 77
    fi
fi
for tool in apt-get Xvfb xdotool xprop; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[[ -f $deb ]] || fail "no package at $deb"

apt() {
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get -q -y -o DPkg::Lock::Timeout=120 "$@"
}
package_status() {
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true
}

work=$(mktemp -d)
xvfb_pid="" app_pid="" installed=0
cleanup() {
    [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    if ((installed)); then
        apt purge "$package" >/dev/null 2>&1 || echo "could not purge $package" >&2
    fi
    rm -rf "$work"
}
trap cleanup EXIT

if [[ $(package_status) == *" installed" ]]; then
    echo "note: $package was already installed; it will be purged at the end"
fi

# apt reads local packages as its own unprivileged user: give it a readable copy.
chmod 755 "$work"
cp "$deb" "$work/"
chmod 644 "$work/${deb##*/}"
installed=1
# --reinstall: the same version already installed must not stand in for this build.
apt install --reinstall "$work/${deb##*/}" || fail "apt-get install failed"
[[ $(package_status) == "install ok installed" ]] || fail "dpkg status after install: $(package_status)"
[[ -x $program ]] || fail "$program is not installed"
dpkg-query -L "$package" >"$work/files"

# --- run the installed program ----------------------------------------------
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for ((i = 0; i < 100; i++)); do
    [[ $(wc -l <"$work/display") -ge 1 ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    sleep 0.1
done
[[ -s $work/display ]] || fail "Xvfb gave no display number within 10 s"
export DISPLAY=":$(head -n1 "$work/display")"

mkdir -m 700 "$work/runtime"
env -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS QT_QPA_PLATFORM=xcb \
    XDG_RUNTIME_DIR="$work/runtime" "$program" >"$work/app.log" 2>&1 &
app_pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name "^${caption}\$" | head -n1) || true
[[ -n $window ]] || fail "no window \"$caption\" within 20 s; program output: $(cat "$work/app.log")"

# The menu entry's StartupWMClass must match the window's class, or docks
# show the running program as a second, unrelated entry.
wm_class=$(xprop -id "$window" WM_CLASS | sed -n 's/.*= "[^"]*", "\([^"]*\)"$/\1/p')
startup_class=$(sed -n 's/^StartupWMClass=//p' "/usr/share/applications/$app_id.desktop")
[[ -n $wm_class && $wm_class == "$startup_class" ]] ||
    fail "window class '$wm_class' differs from the menu entry's StartupWMClass '$startup_class'"

xdotool mousemove --window "$window" "$exit_x" "$exit_y" click 1
for ((i = 0; i < 100; i++)); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "the program is still running 10 s after clicking \"Выход\""
status=0
wait "$app_pid" || status=$?
app_pid=""
((status == 0)) || fail "the program exited with status $status; output: $(cat "$work/app.log")"
echo "installed program started, showed its window and exited with status 0"

# --- remove it again ---------------------------------------------------------
apt purge "$package" || fail "apt-get purge failed"
installed=0
status_after=$(package_status)
[[ -z $status_after || $status_after == *not-installed ]] || fail "dpkg status after purge: $status_after"

# Every file must be gone. A directory may stay only while another package
# owns it or something else (an icon cache, say) still lives in it.
left=()
while IFS= read -r path; do
    [[ $path == "/." ]] && continue
    if [[ -d $path && ! -L $path ]]; then
        if [[ -z $(ls -A "$path") ]] && ! dpkg-query -S "$path" >/dev/null 2>&1; then
            left+=("$path/")
        fi
    elif [[ -e $path || -L $path ]]; then
        left+=("$path")
    fi
done <"$work/files"
((${#left[@]} == 0)) || fail "left behind after purge: ${left[*]}"
echo "purged: none of the package's $(wc -l <"$work/files") paths is left"
