#!/bin/sh
# Renders the wizard's editors and small windows on the demo schemes, offscreen, into OUT_DIR
# (default build/editor-shots). Run from the repository root after building
# kivwz_editor_screenshots.
set -e
BUILD=${BUILD:-build}
OUT=${1:-$BUILD/editor-shots}
mkdir -p "$OUT"
QT_QPA_PLATFORM=offscreen "$BUILD/tests/wizard/ui/editors/kivwz_editor_screenshots" demo "$OUT"
