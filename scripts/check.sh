#!/usr/bin/env bash
# The project's style checks: clang-format, clang-tidy, qmllint, shellcheck and
# codespell. Every finding is printed with its file and line, and any finding
# fails the check.
#
#   scripts/check.sh            every tracked file
#   scripts/check.sh FILE...    only these (the pre-commit hook passes the staged ones)
#
# clang-tidy reads a compile_commands.json that lists the sources one by one
# (the test command's builds compile them in batches): the folder
# ($MAVU_TIDY_DIR, else build-tidy/) is configured first when it is not yet.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 2
build=${MAVU_TIDY_DIR:-$root/build-tidy}
jobs=$(nproc)
failed=()

if (($#)); then
    files=("$@")
else
    mapfile -t files < <(git ls-files)
fi
# Only what exists: a staged deletion has nothing left to check.
existing=()
for f in "${files[@]}"; do [[ -f $f ]] && existing+=("$f"); done
pick() { # regex: the files whose path matches
    printf '%s\n' "${existing[@]}" | grep -E "$1"
}

report() { # name status
    if [[ $2 -ne 0 ]]; then
        failed+=("$1")
    fi
}

mapfile -t cxx < <(pick '\.(cpp|h)$')
mapfile -t qml < <(pick '\.qml$')
mapfile -t shells < <(pick '(\.sh|^\.ci/run|^packaging/debian/post(inst|rm)|^packaging/bash-completion/.*|^scripts/git-hooks/.*)$')
# Text only: pictures, firmware images and fuzz inputs are not words.
mapfile -t texts < <(pick '.' | grep -vE '\.(png|bin|ico|qm)$|/corpus/')

echo "== clang-format (${#cxx[@]} files)"
status=0
if ((${#cxx[@]})); then
    # Read whole first: under pipefail, clang-format's own failure would hide grep's match.
    formatted=$(clang-format --dry-run --Werror "${cxx[@]}" 2>&1)
    grep -E '^[^ ].*: (error|warning):' <<<"$formatted" && status=1
fi
report clang-format $status

echo "== qmllint (${#qml[@]} files)"
status=0
qmllint=$(command -v /usr/lib/qt5/bin/qmllint || command -v qmllint)
for f in "${qml[@]}"; do
    if ! out=$("$qmllint" "$f" 2>&1); then
        printf '%s\n' "${out:-$f: qmllint failed}"
        status=1
    fi
done
report qmllint $status

echo "== shellcheck (${#shells[@]} files)"
status=0
if ((${#shells[@]})); then
    shellcheck -s bash -f gcc "${shells[@]}" || status=1
fi
report shellcheck $status

echo "== codespell (${#texts[@]} files)"
# The accepted words are the system's own spellings ("midiIn open sucess" is a
# debug line the log readers know) and identifiers codespell takes for typos.
status=0
if ((${#texts[@]})); then
    codespell --quiet-level 2 -I scripts/codespell-accepted.txt "${texts[@]}" || status=1
fi
report codespell $status

mapfile -t tidy < <(printf '%s\n' "${cxx[@]}" | grep -E '^(app|cli|device|firmware|i18n|model|simulator|workflows)/[^/]+\.cpp$')
echo "== clang-tidy (${#tidy[@]} files)"
status=0
if ((${#tidy[@]})); then
    if [[ ! -f $build/compile_commands.json ]]; then
        MAVU_BUILD_DIR=$build bash "$root/scripts/bootstrap.sh" configure >/dev/null \
            || { echo "cannot configure $build"; exit 2; }
    fi
    out=$(mktemp -d)
    trap 'rm -rf "$out"' EXIT
    # shellcheck disable=SC2016 # expanded by the inner sh, not here
    printf '%s\n' "${tidy[@]}" | xargs -P "$jobs" -I{} sh -c \
        'clang-tidy -p "$1" --quiet "$2" >"$3/$(echo "$2" | tr / _).log" 2>/dev/null; true' _ "$build" {} "$out"
    # A header is reported by every file that includes it, once through the
    # build's layer links: one line each, named by its place in the tree.
    findings=$(cat "$out"/*.log | grep -E ': (warning|error): ' \
        | sed -E "s#^$build/include-layers/[^/]+/##; s#^$root/##" | sort -u)
    if [[ -n $findings ]]; then
        printf '%s\n' "$findings"
        status=1
    fi
fi
report clang-tidy $status

if ((${#failed[@]})); then
    echo "check failed: ${failed[*]}"
    exit 1
fi
echo "check passed"
