#!/usr/bin/env bash
# Checks what `cmake --install` and `cpack -G DEB` make of a build folder:
# every installed file where it belongs and nothing else, the desktop entry,
# AppStream metadata, MIME types, man pages, udev rule and shell completion
# valid, and a Debian package with its dependencies and maintainer scripts.
#   scripts/check-install.sh [BUILD_DIR]   (default: build, a full GUI build)
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
stage="$work/stage"
app=org.quilo.Quilo
status=0
fail() {
    echo "check-install: $*" >&2
    status=1
}

echo "-- staged install"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
expected="$work/expected"
{
    echo usr/bin/quilo
    echo usr/bin/quiloctl
    echo usr/bin/quilod
    echo usr/lib/systemd/user/quilod.service
    for interface in Processor1 Mqtt1 Web1; do
        echo usr/share/dbus-1/interfaces/org.quilo.$interface.xml
    done
    echo usr/share/dbus-1/services/org.quilo.Quilo.service
    echo usr/lib/udev/rules.d/70-quilo.rules
    echo usr/share/applications/$app.desktop
    echo usr/share/bash-completion/completions/quiloctl
    for size in 16 22 24 32 48 64 128 256; do
        echo "usr/share/icons/hicolor/${size}x${size}/apps/$app.png"
    done
    echo usr/share/icons/hicolor/scalable/apps/$app.svg
    echo usr/share/man/man1/quilo.1.gz
    echo usr/share/man/man1/quiloctl.1.gz
    echo usr/share/man/man1/quilod.1.gz
    echo usr/share/metainfo/$app.metainfo.xml
    echo usr/share/mime/packages/$app.xml
} | sort >"$expected"
(cd "$stage" && find . -type f -o -type l | sed 's|^\./||' | sort) >"$work/installed"
diff -u "$expected" "$work/installed" || fail "installed files differ from the expected list (- expected, + installed)"
for size in 16 22 24 32 48 64 128 256; do
    grep -q "PNG image data, $size x $size" <<<"$(file "$stage/usr/share/icons/hicolor/${size}x${size}/apps/$app.png")" ||
        fail "icon $size is not a $size x $size PNG"
done

echo "-- desktop entry"
desktop-file-validate "$stage/usr/share/applications/$app.desktop" || fail "desktop-file-validate"

echo "-- AppStream metadata"
# --no-net: no check may depend on the network; errors and warnings fail.
appstreamcli validate --no-net "$stage/usr/share/metainfo/$app.metainfo.xml" || fail "appstreamcli validate"

echo "-- MIME types"
mime="$stage/usr/share/mime/packages/$app.xml"
xmllint --noout "$mime" || fail "xmllint on the MIME file"
mkdir -p "$work/mime/packages"
cp "$mime" "$work/mime/packages/"
XDG_DATA_DIRS="$work" update-mime-database "$work/mime" || fail "update-mime-database"
for glob in application/x-quilo-mode:\*.quilo application/x-quilo-remote:\*.remo; do
    grep -qxF "50:$glob" "$work/mime/globs2" || fail "no glob $glob"
    grep -q "^MimeType=.*${glob%%:*};" "$stage/usr/share/applications/$app.desktop" ||
        fail "the desktop entry does not handle ${glob%%:*}"
done

echo "-- man pages"
for page in quilo quiloctl quilod; do
    warnings="$(MANWIDTH=80 man --warnings -l "$stage/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)"
    [ -z "$warnings" ] || fail "man $page: $warnings"
done

# Every command quiloctl's help lists has its entry in the man page and completes.
commands="$("$stage/usr/bin/quiloctl" --help | sed -n 's/^  \(\[[^ ]*\] \)*\([a-z]*\).*/\2/p' | sort -u)"
[ -n "$commands" ] || fail "quiloctl --help lists no commands"
for command in $commands; do
    grep -q "^\.B $command\b" <<<"$(zcat "$stage/usr/share/man/man1/quiloctl.1.gz")" ||
        fail "man quiloctl does not describe $command"
done

echo "-- versions"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
grep -q "<release version=\"$version\"" "$stage/usr/share/metainfo/$app.metainfo.xml" ||
    fail "the metainfo has no release $version"
for page in quilo quiloctl quilod; do
    grep -q "^\.TH .*\"quilo $version\"" <<<"$(zcat "$stage/usr/share/man/man1/$page.1.gz")" ||
        fail "man $page is not for version $version"
done

echo "-- bus service and user unit"
for interface in Processor1 Mqtt1 Web1; do
    xmllint --noout "$stage/usr/share/dbus-1/interfaces/org.quilo.$interface.xml" ||
        fail "xmllint on org.quilo.$interface"
done
grep -qx 'Exec=/usr/bin/quilod' "$stage/usr/share/dbus-1/services/org.quilo.Quilo.service" ||
    fail "the bus service does not start /usr/bin/quilod"
grep -qx 'ExecStart=/usr/bin/quilod' "$stage/usr/lib/systemd/user/quilod.service" ||
    fail "the user unit does not start /usr/bin/quilod"

echo "-- udev rule"
# udevadm verify is newer than this Debian; check the form of every rule line.
key='(SUBSYSTEM|KERNEL|ACTION|ATTRS?\{[a-zA-Z]+\}|ENV\{[A-Z_]+\}|TAG|MODE|GROUP)'
rule="^$key(==|!=|=|\+=)\"[^\"]*\"(, $key(==|!=|=|\+=)\"[^\"]*\")*\$"
rules="$stage/usr/lib/udev/rules.d/70-quilo.rules"
grep -vE '^(#.*)?$' "$rules" | grep -vE "$rule" && fail "malformed udev rule line (above)"
grep -E '^SUBSYSTEM=="hidraw",.*\{idVendor\}=="2010", .*\{idProduct\}=="1031", TAG\+="uaccess"$' \
    "$rules" >/dev/null || fail "no uaccess rule for the processor's hidraw node"
# The program uses hidraw only; raw USB access would let the user reset the device.
grep -E '^SUBSYSTEM=="usb"' "$rules" && fail "the rule gives the seat user the USB device node"
postinst="$PWD/resources/linux/debian/postinst"
grep -q -- '--subsystem-match=usb' "$postinst" && fail "postinst triggers every USB device"
grep -q -- '--parent-match=' "$postinst" || fail "postinst does not trigger only the processor"

echo "-- bash completion"
complete_line() {
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _quiloctl
             printf "%s " "${COMPREPLY[@]}"' _ "$stage/usr/share/bash-completion/completions/quiloctl" "$@"
}
[ "$(complete_line quiloctl modef)" = "modefile " ] || fail "completion of commands"
[ "$(complete_line "$stage/usr/bin/quiloctl" send micVol)" = "micVolume " ] || fail "completion of send fields"
[ "$(complete_line quiloctl modefile "")" = "dump convert " ] || fail "completion of modefile"
for command in $commands; do
    [[ " $(complete_line quiloctl "") " == *" $command "* ]] || fail "completion lacks $command"
done

echo "-- Debian package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null
deb="$(ls "$work"/deb/quilo_*.deb)"
dpkg-deb -c "$deb"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort >"$work/packaged"
diff -u "$expected" "$work/packaged" || fail "package contents differ from the expected list"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for lib in libqt6widgets6 libhidapi-hidraw0 libudev1 libc6; do
    [[ $depends == *"$lib "* ]] || fail "Depends lacks $lib"
done
for field in Package:quilo Section:sound; do
    [ "$(dpkg-deb -f "$deb" "${field%%:*}")" = "${field#*:}" ] || fail "${field%%:*} is not ${field#*:}"
done
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no Maintainer"
# (grep -q on a pipe would end the listing early: a broken pipe fails the pipeline.)
control="$(dpkg-deb --ctrl-tarfile "$deb" | tar -t)"
grep -qx './postinst' <<<"$control" || fail "no postinst"
grep -qx './postrm' <<<"$control" || fail "no postrm"

if [ "$status" -eq 0 ]; then
    echo "install and package checks passed"
fi
exit "$status"
