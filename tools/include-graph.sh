#!/usr/bin/env bash
# Prints which source folders include headers from which others, one line per
# folder: "folder -> folders it includes". Folders are src/<name> (shown as the
# name) and devagent. Reads the given commit (the working tree if none).
#   tools/include-graph.sh [COMMIT]
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ $# -gt 0 ]]; then
    commit=$(git rev-parse --verify "$1^{commit}")
    files=$(git ls-tree -r --name-only "$commit" -- src devagent)
    includes=$(git grep -e '^#include "' "$commit" -- src devagent | cut -d: -f2-)
else
    files=$(git ls-files -co --exclude-standard -- src devagent)
    includes=$(grep -r -e '^#include "' src devagent)
fi

folder_of() { # src/app/Main.cpp -> app, devagent/DevAgent.h -> devagent
    case $1 in
        src/*) local rest=${1#src/}; echo "${rest%%/*}" ;;
        *) echo "${1%%/*}" ;;
    esac
}

declare -A edges
while IFS=: read -r file directive; do
    [[ -n $file ]] || continue
    target=$(sed -n 's/^#include "\([^"]*\)".*/\1/p' <<<"$directive")
    from=$(folder_of "$file")
    if [[ $target == */* ]]; then
        to=${target%%/*}
    elif grep -qxF "$(dirname "$file")/$target" <<<"$files"; then
        to=$from
    else
        to="(generated)"
    fi
    [[ $to == "$from" ]] || edges[$from]+=" $to"
done <<<"$includes"

grep -E '^(src/[^/]+|devagent)/' <<<"$files" | while read -r file; do folder_of "$file"; done | sort -u | while read -r from; do
    targets=$(tr ' ' '\n' <<<"${edges[$from]:-}" | sed '/^$/d' | sort -u | tr '\n' ' ')
    printf '%-9s -> %s\n' "$from" "${targets:--}"
done
