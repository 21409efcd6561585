#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Debian package of a configured build tree in a scratch directory
# and checks that exactly the expected file came out.
# Usage: build_deb.sh CPACK CPACK_CONFIG OUT_DIR EXPECTED_DEB
set -euo pipefail
cpack=$1 config=$2 out_dir=$3 expected=$4

rm -rf "$out_dir"
mkdir -p "$out_dir"
"$cpack" -G DEB --config "$config" -B "$out_dir"

shopt -s nullglob
debs=("$out_dir"/*.deb)
if [[ ${#debs[@]} -ne 1 || ${debs[0]} != "$expected" ]]; then
    echo "expected only $expected, got: ${debs[*]:-no package}" >&2
    exit 1
fi
dpkg-deb --info "$expected"
