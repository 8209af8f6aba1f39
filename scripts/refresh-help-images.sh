#!/usr/bin/env bash
# refresh-help-images.sh [ARTIFACTS]
# Takes the help file's pictures (docs/help/images) from the window
# screenshots that the end-to-end scenarios leave in the artifacts folder
# (default build/e2e/artifacts). Run the scenarios first, e.g.
#   bash scripts/test.sh -R 'e2e.(magnifier.appears|capture.screen|options.setting_opens|colorsample.click|about.about_ring)'
set -euo pipefail
cd "$(dirname "$0")/.."
from="${1:-build/e2e/artifacts}"
pictures=(
    "magnifier.appears_and_samples-window.png main_window.png"
    "capture.screen_capture_filters_and_undo-window.png image_layout.png"
    "options.setting_opens_on_the_jpg_page_framed_in_the_active_colour-dialog.png options.png"
    "colorsample.click_copies_the_colour_as_the_next_entry-window.png colour_sample.png"
    "about.about_ring_orbit_and_iris-window.png about.png"
)
for p in "${pictures[@]}"; do
    read -r shot name <<<"$p"
    if [ ! -f "$from/$shot" ]; then
        echo "missing $from/$shot: run its scenario first" >&2
        exit 1
    fi
    # No time stamps or other chunks: the same screenshot gives the same file.
    convert "$from/$shot" -strip -define png:exclude-chunks=date,time "docs/help/images/$name"
    echo "docs/help/images/$name <- $shot"
done
