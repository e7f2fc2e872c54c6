#!/usr/bin/env bash
# Mutation check: scripts/mutants.sh TREE BUILD_DIR [NAME_REGEX]
#
# For each line of mutants.txt (beside this script, or $MUTANTS): file path relative to TREE,
# original text, replacement text, name, separated by tabs. In the original and the
# replacement, \n stands for a newline, \t for a tab and \\ for a backslash. Lines starting
# with # are comments. NAME_REGEX (grep -E) runs only the mutants whose name matches.
#
# Each mutant: the original must occur exactly once (else SKIP), it is applied, the build
# directory is rebuilt (a failed build is INVALID), all tests are run (a failing test is
# KILLED, else SURVIVED), and the file is restored with git checkout. At the end the tree is
# checked clean and rebuilt, and a summary is printed. Logs go to $OUT (default
# /tmp/mut-out).
#
# RUNNER=ctest (the default) runs every test through ctest. RUNNER=relinked runs, instead,
# only the test binaries ($BUILD/bin/*_tests) that the mutant's build relinked, two at a
# time, each as one process: much faster, and a test binary that does not link the mutated
# library cannot see the mutant anyway.
set -u

if [ $# -lt 2 ]; then
    echo "usage: $0 TREE BUILD_DIR [NAME_REGEX]" >&2
    exit 2
fi
TREE=$(cd "$1" && pwd) || exit 2
BUILD=$(cd "$2" && pwd) || exit 2
FILTER=${3:-}
HERE=$(cd "$(dirname "$0")" && pwd)
MUTANTS=${MUTANTS:-$HERE/mutants.txt}
OUT=${OUT:-/tmp/mut-out}
mkdir -p "$OUT"
mkdir -m700 -p /tmp/xdg
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/tmp/xdg
RESULTS=$OUT/results.tsv
: >"$RESULTS"

if [ -n "$(git -C "$TREE" status --porcelain --untracked-files=no)" ]; then
    echo "tree $TREE has local changes; refusing to run" >&2
    exit 2
fi

CURRENT_FILE=
restore() {
    if [ -n "$CURRENT_FILE" ]; then
        git -C "$TREE" checkout -- "$CURRENT_FILE"
        CURRENT_FILE=
    fi
}
trap 'restore; exit 130' INT TERM

# apply.py FILE ORIGINAL REPLACEMENT: exit 0 applied, 3 with the reason on stdout.
APPLY=$OUT/apply.py
cat >"$APPLY" <<'EOF'
import re, sys
def decode(s):
    return re.sub(r'\\(n|t|\\)', lambda m: {'n': '\n', 't': '\t', '\\': '\\'}[m.group(1)], s)
path, original, replacement = sys.argv[1], decode(sys.argv[2]), decode(sys.argv[3])
try:
    text = open(path, encoding='utf-8').read()
except OSError as e:
    print(f'cannot read: {e.strerror}'); sys.exit(3)
count = text.count(original)
if count != 1:
    print(f'original occurs {count} times'); sys.exit(3)
if original == replacement:
    print('replacement equals original'); sys.exit(3)
open(path, 'w', encoding='utf-8').write(text.replace(original, replacement))
EOF

record() {  # name status detail seconds
    printf '%s\t%s\t%s\t%s\n' "$1" "$2" "${3:--}" "$4" >>"$RESULTS"
    printf '%-44s %-9s %4ss  %s\n' "$1" "$2" "$4" "$3"
}

n=0
while IFS=$'\t' read -r file original replacement name || [ -n "${file:-}" ]; do
    case "$file" in ''|'#'*) continue ;; esac
    [ -n "$FILTER" ] && ! grep -Eq -- "$FILTER" <<<"$name" && continue
    n=$((n + 1))
    start=$SECONDS
    log=$OUT/$n-$name
    if ! reason=$(python3 "$APPLY" "$TREE/$file" "$original" "$replacement"); then
        record "$name" SKIP "$file: $reason" 0
        continue
    fi
    CURRENT_FILE=$file
    touch "$OUT/stamp"
    sleep 1
    if ! ninja -C "$BUILD" -j2 >"$log.build.log" 2>&1; then
        restore
        record "$name" INVALID "build failed: $(grep -m1 'error:' "$log.build.log")" $((SECONDS - start))
        continue
    fi
    if [ "${RUNNER:-ctest}" = relinked ]; then
        binaries=$(find "$BUILD/bin" -maxdepth 1 -name '*_tests' -newer "$OUT/stamp" | sort)
        rc=0
        if [ -n "$binaries" ]; then
            # Each binary from the folder ctest runs it in, its output in its own log.
            (cd "$BUILD/tests" && printf '%s\n' $binaries |
                xargs -P2 -I{} sh -c 'timeout 600 "$1" --gtest_brief=1 >"$2.$(basename "$1").log" 2>&1 || echo "$(basename "$1")"' _ {} "$log") >"$log.failed-binaries"
            [ -s "$log.failed-binaries" ] && rc=1
        fi
        cat "$log".*_tests.log >"$log.test.log" 2>/dev/null
        echo "binaries run: $(echo $binaries | xargs -n1 basename 2>/dev/null | paste -sd' ' -)" >>"$log.test.log"
    else
        ctest --test-dir "$BUILD" -j2 --timeout 120 --output-on-failure >"$log.test.log" 2>&1
        rc=$?
    fi
    restore
    if [ $rc -ne 0 ]; then
        failed=$( { sed -n '/The following tests FAILED/,$p' "$log.test.log" |
                    sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) .*/\1/p'
                    sed -n 's/^\[  FAILED  \] \([^ ,]*\).*/\1/p' "$log.test.log" | sort -u; } |
                 head -3 | paste -sd' ' -)
        [ -z "$failed" ] && [ -s "$log.failed-binaries" ] && failed="crashed: $(paste -sd' ' "$log.failed-binaries")"
        record "$name" KILLED "${failed:-ctest exit $rc}" $((SECONDS - start))
    else
        record "$name" SURVIVED "" $((SECONDS - start))
    fi
done <"$MUTANTS"

echo "== rebuilding the unmutated tree"
ninja -C "$BUILD" -j2 >"$OUT/final.build.log" 2>&1 || echo "final build FAILED, see $OUT/final.build.log"
if [ -n "$(git -C "$TREE" status --porcelain --untracked-files=no)" ]; then
    echo "tree NOT clean:"; git -C "$TREE" status --short --untracked-files=no
else
    echo "tree clean"
fi

echo
echo "== summary"
printf '%-44s %-9s %s\n' MUTANT RESULT DETAIL
sort -t$'\t' -k2,2 -s "$RESULTS" | while IFS=$'\t' read -r name status detail secs; do
    printf '%-44s %-9s %s\n' "$name" "$status" "$detail"
done
echo
cut -f2 "$RESULTS" | sort | uniq -c
