#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks the installed tree as a desktop and a
# package manager see it: files in their standard places, the desktop entry, metadata,
# file type and manual pages as their own tools judge them, the programs finding their data
# after the prefix moves, and the Debian package's control data and contents.
# Usage: tests/install/check-install.sh BUILD_DIR   (after a full build of BUILD_DIR)
set -uo pipefail
# Output is taken whole before grep -q looks at it: grep -q stops reading at the first match,
# and the writer of a pipe it left would die of SIGPIPE, failing the pipeline (pipefail).
build=$(cd "${1:?usage: check-install.sh BUILD_DIR}" && pwd)
source=$(cd "$(dirname "$0")/../.." && pwd)
id=io.github.vorn_keys.vorn
work=$(mktemp -d /tmp/vorn-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
# Runs a command that must succeed and print nothing on either stream.
quiet() {
    local out
    out=$("$@" 2>&1) && [ -z "$out" ] || fail "$* said: ${out:-(nothing, but failed)}"
}

prefix=$work/first
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"
share=$prefix/share

# -- Where the standards put things
for file in bin/vorn bin/vorn-identify bin/vorn-publish share/vorn/web/page/index.html \
    share/vorn/web/page/js/engine.js share/vorn/docs/index.html share/vorn/docs/keys/index.html \
    share/vorn/docs/manual/index.html share/vorn/docs/manual/windows.html \
    share/vorn/keys/TREES.DES share/vorn/keys/TREES.HIS share/applications/$id.desktop \
    share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml \
    share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
    share/doc/vorn/copyright; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
done
[ -e "$share/vorn/docs/man" ] && fail "the manual pages' sources are installed with the Web pages"
# The web engine, when the build made it (VORN_WEB).
web=0
if [ -f "$build/share/vorn/web/engine/vorn-engine.wasm" ]; then
    web=1
    for file in share/vorn/web/engine/vorn-engine.js share/vorn/web/engine/vorn-engine.wasm; do
        [ -f "$prefix/$file" ] || fail "$file is not installed"
    done
fi
grep -q "PNG image data, 48 x 48" <<<"$(file "$share/icons/hicolor/48x48/apps/$id.png")" ||
    fail "the 48x48 icon is not a 48 x 48 PNG"

# -- The ecosystem's validators
quiet desktop-file-validate "$share/applications/$id.desktop"
out=$(appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" 2>&1) ||
    fail "appstreamcli validate: $out"
grep -qE '^[EW]:' <<<"$out" && fail "appstreamcli validate warns: $out"
version=$("$prefix/bin/vorn-identify" --version | cut -d' ' -f2)
grep -q "<release version=\"$version\"" "$share/metainfo/$id.metainfo.xml" ||
    fail "the metadata has no release $version"

# -- Manual pages: one per source, rendered without a warning, naming every option --help shows
for scd in "$source"/docs/man/*.scd; do
    page=$(basename "$scd" .scd)
    man=$share/man/man${page##*.}/$page.gz
    [ -f "$man" ] || { fail "$page is not installed"; continue; }
    warnings=$(zcat "$man" | groff -man -ww -z 2>&1)
    [ -z "$warnings" ] || fail "$page renders with warnings: $warnings"
done
# Every program has a page, and every page of section 1 a program.
for man in "$share"/man/man1/*.1.gz; do
    [ -x "$prefix/bin/$(basename "$man" .1.gz)" ] || fail "$(basename "$man") has no installed program"
done
for path in "$prefix"/bin/*; do
    program=$(basename "$path")
    [ -f "$share/man/man1/$program.1.gz" ] || { fail "$program has no manual page"; continue; }
    text=$(zcat "$share/man/man1/$program.1.gz" | groff -man -Tascii -P-cbou 2>/dev/null)
    # Options anywhere in the help text, and the first word of its indented lines (actions).
    words=$("$prefix/bin/$program" --help | grep -oE '(^|[[ ])--?[a-zA-Z][a-zA-Z-]*' | tr -d '[ ')
    words+=" "$("$prefix/bin/$program" --help | sed -nE 's/^ +([^ ]+)  .*/\1/p')
    for word in $words; do
        grep -qF -- "$word" <<<"$text" || fail "$program --help shows $word, its manual page does not"
    done
done

# -- The key file type and the application for it, as GIO sees them
export XDG_DATA_DIRS=$share:/usr/share XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
quiet update-mime-database "$share/mime"
quiet update-desktop-database "$share/applications"
mkdir -p "$work/keys"
cp "$share/vorn/keys/TREES.DES" "$work/keys/TREES.DES"
cp "$share/vorn/keys/TREES.DES" "$work/keys/lower.des"
for key in TREES.DES lower.des; do
    out=$(gio info -a standard::content-type "$work/keys/$key")
    grep -q "content-type: application/x-vorn-key" <<<"$out" ||
        fail "gio does not see $key as a VORN key"
done
# The desktop entry's TryExec hides it unless vorn is on the PATH.
out=$(PATH=$prefix/bin:$PATH gio mime application/x-vorn-key)
grep -q "^Default application.*: $id.desktop" <<<"$out" ||
    fail "gio mime does not name $id.desktop for VORN keys"

# -- The programs find their data after the prefix moves, and never in the build's checkout
moved=$work/elsewhere/prefix
mkdir -p "$work/elsewhere"
mv "$prefix" "$moved"
keys=$moved/share/vorn/keys
out=$(cd "$work" && "$moved/bin/vorn-identify" "$keys/TREES.DES" "@$keys/TREES.HIS" 2>&1) ||
    fail "vorn-identify on the moved sample key: $out"
grep -qE "Tax(a|on) Match" <<<"$out" || fail "vorn-identify printed no result: $out"
# vorn-publish finds the page and the engine beside it, or says they are missing.
out=$(cd "$work" && "$moved/bin/vorn-publish" "$keys/TREES.DES" "$work/published" 2>&1)
if [ "$web" = 1 ]; then
    [ -f "$work/published/engine/vorn-engine.wasm" ] && [ -f "$work/published/key/key.json" ] ||
        fail "vorn-publish from the moved prefix: $out"
    # What keeps the page on a phone without a network: the service worker, its plan, the
    # manifest and the icons.
    for file in sw.js offline.js manifest.webmanifest icon-192.png icon-512.png; do
        [ -f "$work/published/$file" ] || fail "vorn-publish from the moved prefix wrote no $file"
    done
else
    grep -q "the web engine is not installed" <<<"$out" || fail "vorn-publish without the engine: $out"
fi
paths=$(env -u DISPLAY -u WAYLAND_DISPLAY "$moved/bin/vorn" --paths)
grep -qx "pages: $moved/share/vorn/docs/" <<<"$paths" || fail "vorn --paths after the move: $paths"
grep -qx "keys: $keys/" <<<"$paths" || fail "vorn --paths after the move: $paths"
mkdir -p "$work/lonely/bin"
cp "$moved/bin/vorn" "$work/lonely/bin/"
paths=$("$work/lonely/bin/vorn" --paths)
grep -qx "pages: $work/lonely/share/vorn/docs/ (missing)" <<<"$paths" ||
    fail "a copied vorn does not report its missing pages"

# -- The Debian package
rm -f "$build"/vorn_*.deb
log=$(cd "$build" && cpack -G DEB 2>&1) || fail "cpack -G DEB: $log"
deb=$(ls "$build"/vorn_"$version"_*.deb 2>/dev/null | head -n 1)
if [ -z "$deb" ]; then
    fail "no vorn_${version}_ARCH.deb was built"
else
    # The description: the summary once, on the first line; then the long text, each line
    # with the one blank that continues the field and no more (a second blank would make
    # it verbatim, unwrapped), paragraphs apart by " ."; naming every program but vorn.
    description=$(dpkg-deb -f "$deb" Description)
    summary=$(head -n 1 <<<"$description")
    long=$(tail -n +2 <<<"$description")
    [ -n "$summary" ] && [ "${summary# }" = "$summary" ] ||
        fail "the description's first line is not a summary: $description"
    [ -n "$long" ] || fail "the description has no long text: $description"
    first=$(head -n 1 <<<"$long")
    [ "${first# }" != "$summary" ] || fail "the long description repeats the summary: $description"
    grep -qvE '^ ' <<<"$long" && fail "a line of the long description does not start with a blank: $description"
    grep -qE '^  ' <<<"$long" && fail "a line of the long description starts with two blanks: $description"
    grep -qxE ' \.?' <<<"$(head -n 1 <<<"$long"; tail -n 1 <<<"$long")" &&
        fail "the long description starts or ends with an empty paragraph: $description"
    for path in "$moved"/bin/*; do
        program=$(basename "$path")
        [ "$program" = vorn ] && continue
        grep -qw -- "$program" <<<"$description" || fail "the description does not name $program"
    done
    # Depends: what dpkg-shlibdeps found, and the Qt platform plugins (X11 among them),
    # which libqt6gui6 only recommends.
    depends=$(dpkg-deb -f "$deb" Depends)
    grep -qE '(^|, )qt6-qpa-plugins( |,|$)' <<<"$depends" ||
        fail "the package does not depend on qt6-qpa-plugins: $depends"
    libraries="libqt6widgets6 libqt6gui6 libqt6core6"
    # libjpeg once the program links it (the pictures of taxa are decoded with it).
    grep -q 'NEEDED.*libjpeg' <<<"$(objdump -p "$moved/bin/vorn")" && libraries+=" libjpeg62-turbo"
    for library in $libraries; do
        grep -q "$library" <<<"$depends" || fail "the package does not depend on $library: $depends"
    done
    contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
    for file in ./usr/bin/vorn ./usr/bin/vorn-identify ./usr/bin/vorn-import-delta \
        ./usr/bin/vorn-import-sdd ./usr/bin/vorn-publish ./usr/share/vorn/web/page/index.html \
        ./usr/share/vorn/web/page/sw.js ./usr/share/vorn/web/page/icon-512.png \
        ./usr/share/vorn/keys/TREES.DES \
        ./usr/share/vorn/docs/index.html ./usr/share/applications/$id.desktop \
        ./usr/share/mime/packages/$id.xml ./usr/share/metainfo/$id.metainfo.xml \
        ./usr/share/icons/hicolor/48x48/apps/$id.png ./usr/share/man/man1/vorn-identify.1.gz; do
        grep -qx -- "$file" <<<"$contents" || fail "the package lacks $file"
    done
fi

if [ "$failures" -ne 0 ]; then
    echo "Installation checks: $failures failed" >&2
    exit 1
fi
echo "Installation checks passed"
