#!/usr/bin/env bash
# Fails on an include that goes upward between the folders of src/.
# The folders stand in this order, lowest first; a file may include from its
# own folder and from the folders before it, never from one after it. Every
# folder of src/ must be in the list, so a new one cannot slip past.
set -euo pipefail
LAYERS=(base platform video digitize datafile printhelp results settings app)

src="${1:-$(dirname "$0")/../src}"
declare -A rank
for i in "${!LAYERS[@]}"; do rank[${LAYERS[$i]}]=$i; done

status=0
for dir in "$src"/*/; do
  name=$(basename "$dir")
  if [ -z "${rank[$name]+x}" ]; then
    echo "src/$name/ is not in the folder order of scripts/check-layers.sh"
    status=1
  fi
done

while IFS= read -r -d '' file; do
  rel=${file#"$src"/}
  folder=${rel%%/*}
  [ -n "${rank[$folder]+x}" ] || continue
  while IFS=: read -r line text; do
    target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^/"]+)\/.*/\1/' <<<"$text")
    [ -n "${rank[$target]+x}" ] || continue
    if [ "${rank[$target]}" -gt "${rank[$folder]}" ]; then
      echo "src/$rel:$line: $folder includes from $target, which stands above it: $text"
      status=1
    fi
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^/"]+/' "$file" || true)
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

if [ "$status" -eq 0 ]; then
  echo "Includes follow the folder order: ${LAYERS[*]}"
fi
exit "$status"
