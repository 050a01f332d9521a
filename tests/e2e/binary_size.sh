# SETUP.EXE travels on the first disk beside the product: stripped, and at most 400 KB.
set -euo pipefail
setup=$1
size=$(stat -c %s "$setup")
echo "SETUP.EXE: $size bytes"
[ "$size" -le 409600 ] || { echo "FAIL: SETUP.EXE is larger than 400 KB"; exit 1; }
if i686-w64-mingw32-objdump -t "$setup" | grep -q '\.text'; then
  echo "FAIL: SETUP.EXE carries its symbol table"
  exit 1
fi
