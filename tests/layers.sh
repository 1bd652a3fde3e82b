#!/usr/bin/env bash
# Each folder of src/ includes only itself and folders of a lower layer.
set -u
declare -A layer=([numbers]=0 [data]=1 [rules]=1 [platform]=1 [widgets]=2 [table]=3 [tray]=3
  [dialogs]=4 [main_window]=5)
status=0
cd "$1/src"
for dir in "${!layer[@]}"; do
  while IFS=: read -r file target; do
    [ "$target" = "$dir" ] && continue
    if [ -z "${layer[$target]+x}" ] || [ "${layer[$target]}" -ge "${layer[$dir]}" ]; then
      echo "$file includes $target/" && status=1
    fi
  done < <(grep -o '^#include "[a-z_]*/' "$dir"/* | sed 's|:#include "|:|; s|/$||')
done
exit $status
