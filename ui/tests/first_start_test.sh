#!/usr/bin/env bash
# The first start of the program in a fresh program folder: the set-up leaves
# the English-Croatian word list and a settings file that asks for its
# conversion; the program builds database/Engleski_Hrvatski.v03, opens it, and
# typing "house" shows Croatian translations. The program reports what its
# lists show through the --report-translation hook of its test build.
#
# usage: first_start_test.sh BUILD_BIN_DIR SOURCE_DIR
set -euo pipefail
bin="$1"
src="$2"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT

cp "$bin/wordbay" "$bin/wordbay-test" "$dir/"
bash "$src/scripts/first_start.sh" "$dir" "$bin/wordbay-cli" "$src/data/kx-sample.txt"
# The start-up notice would wait for an answer.
printf '[options]\nshowsplash=0\n' >> "$dir/wordbay.ini"

# An instance name of its own keeps it apart from other tests running at once.
QT_QPA_PLATFORM=offscreen WORDBAY_INSTANCE="wordbay-first-start-test-$$" \
    timeout 120 "$dir/wordbay-test" --report-translation house "$dir/report.txt"

test -f "$dir/database/Engleski_Hrvatski.v03" || { echo "no Engleski_Hrvatski.v03"; exit 1; }
cat "$dir/report.txt"
grep -qx "kuća" "$dir/report.txt" || { echo "house is not translated as kuća"; exit 1; }
echo "first start: passed"
