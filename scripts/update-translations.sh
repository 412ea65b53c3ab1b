#!/usr/bin/env bash
# Refreshes the English translation's source texts from the code:
#   scripts/update-translations.sh [TS_FILE]     (default app/translations/orv_en.ts)
# New texts arrive unfinished (translate them in the file, by hand or with Qt Linguist); texts
# that left the code are dropped. The Qt-free layers mark their texts with ORV_TR_NOOP and
# ORV_TR_NOOP16 (vesk/translatable.h), which lupdate reads as QT_TRANSLATE_NOOP. Locations are
# left out so that moving code does not touch the file.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=${LUPDATE:-$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}
ts=${1:-app/translations/orv_en.ts}
"$lupdate" -silent -no-obsolete -locations none -source-language ja -target-language en \
    -tr-function-alias QT_TRANSLATE_NOOP+=ORV_TR_NOOP,QT_TRANSLATE_NOOP+=ORV_TR_NOOP16 \
    -I . -extensions cpp,h app editor effectfile engine export interop vesk -ts "$ts"
