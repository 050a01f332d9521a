#!/bin/bash
# Checks how the installer's folders include each other. Each folder of setup/ has a layer;
# a file may include files of its own folder and of the folders below it, and the framework,
# nothing else. A header and its source file count as one unit, and no units may include
# each other, directly or round a circle. Prints what is wrong and ends with 1; ends with 0
# when nothing is.
#   tools/include_layers.sh [REPOSITORY]
set -euo pipefail

# Lowest first.
layers=(res script engine uninstall unattended ui actions app)

cd "${1:-$(dirname "$0")/..}/setup"
rank() {
  local i
  for i in "${!layers[@]}"; do [[ ${layers[$i]} == "$1" ]] && { echo "$i"; return; }; done
  echo -1
}

status=0
edges=$(mktemp)
trap 'rm -f "$edges"' EXIT
for file in $(find . -name '*.h' -o -name '*.cpp' | sed 's#^\./##' | sort); do
  folder=${file%%/*}
  from=$(rank "$folder")
  if ((from < 0)); then
    echo "$file: the folder $folder has no layer"
    status=1
    continue
  fi
  while read -r included; do
    target=$(realpath -m --relative-to=. "$(dirname "$file")/$included")
    case $target in
      ../framework/*) continue ;;
      ../*) echo "$file includes $included, outside the installer and the framework"; status=1; continue ;;
    esac
    to=$(rank "${target%%/*}")
    if ((to < 0 || to > from)); then
      echo "$file includes $included: ${target%%/*} is not below $folder"
      status=1
    fi
    [[ ${file%.*} != "${target%.*}" ]] && echo "${file%.*} ${target%.*}" >>"$edges"
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done

# tsort names the units of every circle it finds.
if ! loops=$(tsort "$edges" 2>&1 >/dev/null) || [[ -n $loops ]]; then
  echo "units that include each other:"
  echo "$loops" | sed -n 's/^tsort: \([^:]*\)$/  \1/p'
  status=1
fi
((status == 0)) && echo "includes follow the layers: ${layers[*]}"
exit "$status"
