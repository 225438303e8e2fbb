#!/bin/sh
# Installs the build into a fresh prefix, finds every file a desktop needs
# and validates the desktop entry, the AppStream metadata and the manual page.
# Usage: install_test.sh BUILD_DIR
set -eu
build=$1
prefix=$(mktemp -d "${TMPDIR:-/tmp}/tavo-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.tavo.Viewer
for file in bin/tavo share/applications/$id.desktop share/mime/packages/$id.xml \
    share/metainfo/$id.metainfo.xml share/man/man1/tavo.1 \
    share/icons/hicolor/scalable/apps/$id.svg share/doc/tavo/examples/features.jis; do
    [ -f "$prefix/$file" ] || { echo "missing: $file"; exit 1; }
done
for size in 16 22 24 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x$size/apps/$id.png
    file -b "$png" | grep -q "PNG image data, $size x $size" || { echo "bad icon: $png"; exit 1; }
done
grep -q '^Exec=tavo %f$' "$prefix/share/applications/$id.desktop"
grep -q '^MimeType=text/x-jis7;$' "$prefix/share/applications/$id.desktop"

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null
warnings=$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l "$prefix/share/man/man1/tavo.1" 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "man: $warnings"; exit 1; }
"$prefix/bin/tavo" --version | grep -q "^tavo [0-9]*\.[0-9]*\.[0-9]*$"
echo "installed and valid"
