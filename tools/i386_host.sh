# i386 programs on a host whose kernel runs 64-bit code only. Sourced by ./run.
#
# Wine's 32-bit loader is an i386 Linux program, and every Windows program of ours runs inside
# it. Some kernels run no 32-bit x86 code at all (ia32_emulation=off, some hypervisors and
# sandboxes): there the loader fails with "Exec format error". On such a host ./run registers
# an emulator of i386 Linux programs with the kernel's binfmt_misc; from then on the loader and
# everything it starts run unchanged, only slower. A host that runs i386 programs natively is
# left as it is, unless RUN_I386=emulate asks for the emulator there too (to test that path).
#
#   ensure_i386     makes the host able to run i386 programs (says what it does, in one line)
#   i386_status     says how this host runs them
#   i386_remove     takes back the registration that ensure_i386 made
#
# The emulator is Debian's qemu-user from the release's backports: Debian 12's own one cannot
# run Wine (its address space reservation collides with Wine's shared user data).

i386_entry_name=run-i386
i386_emulator=/usr/bin/qemu-i386
binfmt_dir=/proc/sys/fs/binfmt_misc
# The ELF header of an i386 program (32-bit, little-endian, executable or shared object,
# machine 3), with the mask that leaves out the fields that vary.
i386_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
# An i386 program that every Wine installation of ours has (wine32:i386).
i386_probe=/usr/lib/wine/wine

i386_die() {
  echo "run: $*" >&2
  exit 1
}

i386_sudo() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    return 1
  fi
}

# True when an i386 program starts, by whatever means (natively or through an emulator).
i386_runs() {
  "$i386_probe" --version >/dev/null 2>&1
}

i386_registered() {
  [ -r "$binfmt_dir/$i386_entry_name" ] && [ "$(head -n 1 "$binfmt_dir/$i386_entry_name")" = enabled ]
}

i386_status() {
  if i386_registered; then
    echo "run: i386 programs run through $i386_emulator (binfmt_misc entry $i386_entry_name; ./run i386 off removes it)"
  elif i386_runs; then
    echo "run: this host runs i386 programs natively"
  elif [ -x "$i386_probe" ]; then
    echo "run: this host runs no i386 programs yet; ./run test or ./run demo registers an emulator for them"
  else
    echo "run: Wine's 32-bit loader is not installed yet ($i386_probe); ./run build installs it"
  fi
}

i386_remove() {
  if ! [ -e "$binfmt_dir/$i386_entry_name" ]; then
    echo "run: no emulator registered by ./run; nothing to remove"
    return 0
  fi
  printf -- '-1' | i386_sudo tee "$binfmt_dir/$i386_entry_name" >/dev/null ||
    i386_die "could not remove the binfmt_misc entry $i386_entry_name: run as root (or with sudo)"
  echo "run: removed the emulator's registration for i386 programs ($i386_entry_name)"
}

# The release's backports suite, from the same archive as the machine's own sources: apt's
# configured targets name the archive address of the release's main suite.
i386_add_backports() {
  local codename=$1 suite=$1-backports list=/etc/apt/sources.list.d/run-backports.list site keyring option=
  apt-get indextargets --format '$(RELEASE)' 2>/dev/null | grep -qx "$suite" && return 0
  site=$(apt-get indextargets --format '$(TARGET_OF) $(RELEASE) $(SITE)' 2>/dev/null |
    awk -v suite="$codename" '$1 == "deb" && $2 == suite { print $3; exit }')
  [ -n "$site" ] || i386_die "no apt source for Debian $codename to take the archive address from; add $suite to apt's sources and run again"
  keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  [ -r "$keyring" ] && option="[signed-by=$keyring] "
  echo "deb ${option}$site $suite main" | i386_sudo tee "$list" >/dev/null
}

# Installs the emulator unless a recent enough one is there.
i386_install_emulator() {
  local version codename
  version=$(dpkg-query -W -f='${Version}' qemu-user 2>/dev/null || true)
  if [ -n "$version" ] && dpkg --compare-versions "$version" ge 1:9 && [ -x "$i386_emulator" ]; then
    return 0
  fi
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || i386_die "cannot tell this Debian release's name from /etc/os-release"
  i386_add_backports "$codename"
  { i386_sudo apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive i386_sudo apt-get install -y -qq --no-install-recommends \
      -t "$codename-backports" qemu-user; } >/dev/null ||
    i386_die "could not install qemu-user from $codename-backports (see apt's messages above)"
}

i386_register() {
  if ! [ -e "$binfmt_dir/register" ]; then
    i386_sudo mount -t binfmt_misc binfmt_misc "$binfmt_dir" 2>/dev/null ||
      i386_die "this kernel offers no binfmt_misc (mount -t binfmt_misc failed), so no emulator can run i386 programs here; use a kernel with CONFIG_BINFMT_MISC, or a host that runs 32-bit programs (ia32_emulation=on)"
  fi
  # A stale entry of ours (disabled, or left by an older emulator) is replaced.
  [ -e "$binfmt_dir/$i386_entry_name" ] && printf -- '-1' | i386_sudo tee "$binfmt_dir/$i386_entry_name" >/dev/null
  # F: the kernel opens the emulator now, so it is found from any root and mount namespace.
  printf '%s' ":$i386_entry_name:M::$i386_magic:$i386_mask:$i386_emulator:F" |
    i386_sudo tee "$binfmt_dir/register" >/dev/null ||
    i386_die "the kernel refused the binfmt_misc entry for $i386_emulator"
}

ensure_i386() {
  local why
  if [ "${RUN_I386:-}" = emulate ]; then
    i386_registered && return 0
    why="RUN_I386=emulate"
  else
    i386_runs && return 0
    [ -x "$i386_probe" ] || i386_die "Wine's 32-bit loader $i386_probe is missing; ./run build installs it"
    why="this host runs no 32-bit programs"
  fi
  if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null; then
    i386_die "$why, and registering an emulator for them needs root: run ./run as root (or install sudo)"
  fi
  echo "run: $why; registering $i386_emulator from Debian's qemu-user for them (Windows programs run about three times slower; ./run i386 off removes it)"
  i386_install_emulator
  i386_register
  i386_runs || i386_die "$i386_emulator is registered, but Wine's 32-bit loader still does not start ($i386_probe --version)"
}
