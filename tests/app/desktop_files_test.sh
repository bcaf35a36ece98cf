#!/bin/sh
# Validates the desktop entry, the AppStream metadata and the project file
# type: well-formed, and once compiled by update-mime-database a .tracella
# file is of that type. Arguments: the resources folder.
set -eu
resources="$1"
desktop-file-validate "$resources/io.github.tracella.Tracella.desktop"
appstreamcli validate --no-net "$resources/io.github.tracella.Tracella.metainfo.xml"

mime="$resources/io.github.tracella.Tracella.mime.xml"
xmllint --noout "$mime"
database=$(mktemp -d)
trap 'rm -rf "$database"' EXIT
mkdir "$database/packages"
cp "$mime" "$database/packages/"
update-mime-database "$database" 2>/dev/null
grep -qx 'application/x-tracella-project:\*\.tracella' "$database/globs"
grep -q 'application/x-tracella-project' "$database/magic"
# The desktop entry offers the program for the type it defines.
grep -q '^MimeType=.*application/x-tracella-project;' "$resources/io.github.tracella.Tracella.desktop"
