#!/usr/bin/env bash
# Builds the Debian package from the build tree, unpacks it into a temporary
# root, checks what it holds, runs the unpacked mavuctl and asks lintian.
set -euo pipefail
build=$1
qt=${2:-6} # the Qt major version the build is on
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/*.deb)
echo "package: $(basename "$deb")"

dpkg-deb -x "$deb" "$work/root"
dpkg-deb -e "$deb" "$work/control"

expect=(
    usr/bin/korvel-mavu
    usr/bin/mavuctl
    usr/bin/mavu-sim
    usr/share/applications/com.korvel.Mavu.desktop
    usr/share/metainfo/com.korvel.Mavu.metainfo.xml
    usr/share/mime/packages/korvel-mavu.xml
    usr/share/icons/hicolor/scalable/apps/com.korvel.Mavu.svg
    usr/share/icons/hicolor/48x48/apps/com.korvel.Mavu.png
    usr/share/icons/hicolor/256x256/apps/com.korvel.Mavu.png
    usr/share/man/man1/korvel-mavu.1.gz
    usr/share/man/man1/mavuctl.1.gz
    usr/share/man/man1/mavu-sim.1.gz
    usr/lib/udev/rules.d/70-korvel-mavu.rules
    usr/share/bash-completion/completions/mavuctl
    usr/share/doc/korvel-mavu/copyright
    usr/share/doc/korvel-mavu/changelog.gz
)
for f in "${expect[@]}"; do
    [[ -e $work/root/$f ]] || { echo "missing from the package: $f"; exit 1; }
done

grep -q 'TAG+="uaccess"' "$work/root/usr/lib/udev/rules.d/70-korvel-mavu.rules"
grep -q 'udevadm control --reload-rules' "$work/control/postinst"

depends=$(dpkg-deb -f "$deb" Depends)
if [[ $qt == 6 ]]; then
    libs=(libqt6core6 libqt6quick6 libqt6serialport6 qml6-module-qtquick-controls)
else
    libs=(libqt5core5a libqt5quick5 libqt5serialport5 qml-module-qtquick-controls2)
fi
for lib in "${libs[@]}" librtmidi libcurl4; do
    [[ $depends == *"$lib"* ]] || { echo "Depends lacks $lib: $depends"; exit 1; }
done

version=$("$work/root/usr/bin/mavuctl" --version)
[[ $version == "mavuctl 1.0.1.1" ]] || { echo "unpacked mavuctl says: $version"; exit 1; }

lintian --fail-on error --tag-display-limit 0 "$deb"
echo "package test passed"
