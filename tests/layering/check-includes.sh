#!/usr/bin/env bash
# Checks every #include "..." of the sources against the layer map in the
# README (the block after the line "Allowed includes:"): a file of layer L
# may include its own layer and the layers L lists. Test folders follow the
# layer they test and may also include their support code. Sources never
# include host or test code. Prints each offending line; exit status 1 when
# there is one.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root"

declare -A allowed
while read -r layer deps; do
  allowed[${layer%:}]="${layer%:} $deps"
done < <(awk '/^Allowed includes:/{on=1; next} on && /^```/{n++; if (n==2) exit; next} on && n==1' README.md)
if ((${#allowed[@]} == 0)); then
  echo "README.md has no layer map (a fenced block after 'Allowed includes:')" >&2
  exit 1
fi

# The layer an included path belongs to: the longest layer name it starts with.
layer_of() {
  local path=$1 best=
  for layer in "${!allowed[@]}"; do
    [[ $path == "$layer"/* && ${#layer} -gt ${#best} ]] && best=$layer
  done
  echo "$best"
}

failures=0
check() {  # file, its layer, whether other includes are allowed (tests)
  local file=$1 own=$2 tests=$3 line target layer
  while IFS= read -r line; do
    target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]+"([^"]+)".*/\1/' <<<"$line")
    layer=$(layer_of "$target")
    if [[ -z $layer ]]; then
      # Outside the layers: a test's own helpers, never in the sources.
      [[ $tests == yes ]] && continue
      echo "$file: $line: not a header of a layer"
      failures=$((failures + 1))
      continue
    fi
    if [[ " ${allowed[$own]} " != *" $layer "* ]]; then
      echo "$file: $line: layer $own may not include $layer"
      failures=$((failures + 1))
    fi
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]+"' "$file" || true)
}

while IFS= read -r file; do
  layer=$(layer_of "${file#src/}")
  [[ -n $layer ]] && check "$file" "$layer" no
done < <(find src -name '*.cpp' -o -name '*.h' | sort)

# tests/<layer>/... tests that layer; tests/platform holds the platform layers.
for layer in "${!allowed[@]}"; do
  [[ $layer == platform/* ]] && allowed[tests/platform]+=" ${allowed[$layer]}"
done
while IFS= read -r file; do
  folder=${file#tests/}
  folder=${folder%%/*}
  case $folder in
    support | fixtures | layering | host) continue ;;  # host tests play the host
  esac
  # tests/query/designer/... tests the nested layer query/designer.
  layer=$(layer_of "${file#tests/}")
  [[ $folder == platform ]] && layer=tests/platform
  [[ -n $layer && -n ${allowed[$layer]:-} ]] && check "$file" "$layer" yes
done < <(find tests -name '*.cpp' -o -name '*.h' | sort)

if ((failures)); then
  echo "$failures include(s) against the layer map in README.md" >&2
  exit 1
fi
echo "includes follow the layer map"
