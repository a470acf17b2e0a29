#!/usr/bin/env bash
# Installs the build tree into a fresh prefix and checks what a desktop user gets: the three
# programs, a desktop entry that validates, the icon, the udev rule for FTDI adapters, and a
# tolm that answers --version from where it was installed.
#   check-install.sh BUILD_DIR WORK_DIR
set -euo pipefail
build="$1"
prefix="$2/prefix"
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

status=0
for file in bin/tolm bin/tolm-cli bin/tolm-modsim \
            share/applications/tolm.desktop \
            share/icons/hicolor/scalable/apps/tolm.svg \
            lib/udev/rules.d/60-tolm-ftdi-latency.rules; do
    if [ ! -e "$prefix/$file" ]; then
        echo "missing: $file"
        status=1
    fi
done
[ -d "$prefix/share/tolm" ] || { echo "missing: share/tolm"; status=1; }
if [ -f "$(dirname "$0")/../../../assets/Ready.wav" ] && [ ! -f "$prefix/share/tolm/Ready.wav" ]; then
    echo "missing: share/tolm/Ready.wav"
    status=1
fi
desktop-file-validate "$prefix/share/applications/tolm.desktop" || status=1
version="$(DISPLAY= WAYLAND_DISPLAY= QT_QPA_PLATFORM=xcb "$prefix/bin/tolm" --version)"
[ "$version" = "Tolm V2.60" ] || { echo "tolm --version said: $version"; status=1; }
[ "$status" = 0 ] && echo "install OK"
exit "$status"
