#!/usr/bin/env bash
# Collects the program's texts into translations/kav7_en.ts (Russian source,
# English translation). New texts come in marked unfinished: translate them
# (with Qt Linguist or in the file) and remove the mark; the suite's
# "translations" test fails while any text is untranslated.
set -euo pipefail
cd "$(dirname "$0")/.."
ts=${1:-translations/kav7_en.ts}
exec "${LUPDATE:-/usr/lib/qt6/bin/lupdate}" -silent -no-obsolete -locations none -source-language ru_RU \
    -target-language en_US -extensions cpp,h -I . \
    base config spectrum link sim processing acquisition exchange view print app tools \
    -ts "$ts"
