# The shipped binaries travel on the installation disks, SETUP.EXE on the first one beside
# the product's own files: each is stripped and within its budget.
#   binary_size.sh SETUP.EXE OSTREL.EXE SONARET.DLL
set -euo pipefail
status=0
for binary in "$@"; do
  name=$(basename "$binary")
  case $name in
    SETUP.EXE) limit=229376 ;;   # 224 KiB
    OSTREL.EXE) limit=65536 ;;   # 64 KiB
    SONARET.DLL) limit=24576 ;;  # 24 KiB
    *) echo "FAIL: no budget for $name"; status=1; continue ;;
  esac
  size=$(stat -c %s "$binary")
  echo "$name: $size bytes (budget $limit)"
  [ "$size" -le "$limit" ] || { echo "FAIL: $name is larger than $limit bytes"; status=1; }
  # Read whole first: grep -q would stop reading early, and the pipeline would then fail.
  symbols=$(i686-w64-mingw32-objdump -t "$binary")
  if grep -q '\.text' <<<"$symbols"; then
    echo "FAIL: $name carries its symbol table"
    status=1
  fi
done
exit $status
