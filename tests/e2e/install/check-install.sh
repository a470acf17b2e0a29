#!/usr/bin/env bash
# Installs the build tree into a fresh prefix and checks what a desktop user gets: the three
# programs, a desktop entry that validates, the icon, the udev rule for FTDI adapters, the completion, the AppStream metadata,
# the manual pages (when scdoc built them), and programs that answer --version with the
# project's version from where they were installed.
#   check-install.sh BUILD_DIR WORK_DIR VERSION
set -euo pipefail
build="$1"
prefix="$2/prefix"
version="$3"
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

status=0
for file in bin/tolm bin/tolm-cli bin/tolm-modsim \
            share/applications/io.github.tolm.Tolm.desktop \
            share/icons/hicolor/scalable/apps/tolm.svg \
            share/metainfo/io.github.tolm.Tolm.metainfo.xml \
            share/bash-completion/completions/tolm-cli \
            share/doc/tolm/copyright share/doc/tolm/changelog.gz share/doc/tolm/guide.md \
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
if [ -d "$build/man" ]; then
    for page in tolm tolm-cli tolm-modsim; do
        [ -f "$prefix/share/man/man1/$page.1.gz" ] || { echo "missing: $page.1.gz"; status=1; }
    done
fi
desktop-file-validate "$prefix/share/applications/io.github.tolm.Tolm.desktop" || status=1
said="$(DISPLAY= WAYLAND_DISPLAY= QT_QPA_PLATFORM=xcb "$prefix/bin/tolm" --version)"
[ "$said" = "Tolm V$version" ] || { echo "tolm --version said: $said"; status=1; }
for program in tolm-cli tolm-modsim; do
    said="$("$prefix/bin/$program" --version)"
    [ "$said" = "$program $version" ] || { echo "$program --version said: $said"; status=1; }
done
[ "$status" = 0 ] && echo "install OK"
exit "$status"
