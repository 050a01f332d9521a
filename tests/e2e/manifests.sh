# Each program carries its application manifest as resource type 24, id 1: the execution
# level it asks for, the Windows versions it declares, and neither the version 6 common
# controls nor DPI awareness. Arguments: PROGRAM=LEVEL ...
set -euo pipefail
supported_os='e2011457-1546-43c5-a5fe-008deee3d3f0 35138b9a-5d96-4fbd-8e2d-a2440225f93a
4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 1f676c76-80e1-4239-95bb-83d0f6d0da78
8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a'
status=0
for pair in "$@"; do
  program=${pair%=*} level=${pair##*=} name=$(basename "${pair%=*}") before=$status
  status=0
  bad() { echo "FAIL: $name: $*"; status=1; }
  # windres reads the resources of a PE file back as resource script text.
  resources=$(i686-w64-mingw32-windres -i "$program" -O rc)
  manifest=$(awk '/^1 24 /{on=1; next} on && /^END/{exit} on' <<<"$resources")
  [ -n "$manifest" ] || { bad "no manifest (type 24, id 1)"; continue; }
  grep -q "requestedExecutionLevel level=\"\"$level\"\"" <<<"$manifest" || bad "execution level is not $level"
  for id in $supported_os; do
    grep -q "supportedOS Id=\"\"{$id}\"\"" <<<"$manifest" || bad "does not declare supportedOS $id"
  done
  grep -qi 'Common-Controls' <<<"$manifest" && bad "depends on the version 6 common controls"
  grep -qi 'dpiAware' <<<"$manifest" && bad "declares DPI awareness"
  [ $status = 0 ] && echo "$name: manifest with $level"
  [ $before = 0 ] || status=1
done
exit $status
