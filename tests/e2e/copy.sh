# A product on three disks: the destination accepted, every disk-change prompt answered
# after the next disk is put in place, plain and compressed files installed byte for byte
# into the Windows, system, installation and subdirectories, slides shown and gone, the
# progress bar stepped for every entry.
. "$(dirname "$0")/lib.sh"

originals=$SUITE_RESULTS/originals
disks=$SUITE_RESULTS/disks
mkdir -p "$originals" "$disks/1" "$disks/2" "$disks/3"
for f in README.TXT ACME.EXE ACME.INI ACMELIB.DLL NOTES DATA1.DAT HELP.HLP SOUND.WAV; do
  random_file "$originals/$f" $((20000 + RANDOM))
done
printf 'Acme Tools\r\nRead me first.\r\n' >"$originals/README.TXT"
convert -size 120x90 xc:orange BMP3:"$originals/SLIDE1.BMP"

put() { cp "$originals/$2" "$disks/$1/"; }
put 1 README.TXT; put 1 ACME.EXE; put 1 ACME.INI; put 1 ACMELIB.DLL
put 2 NOTES; put 2 DATA1.DAT; put 2 SLIDE1.BMP
put 3 HELP.HLP; put 3 SOUND.WAV
for f in 1/ACME.EXE 1/ACMELIB.DLL 2/NOTES 3/HELP.HLP; do compress_file "$disks/$f"; done

layout_setup '[Setup System]
AP Name=E2E Copy

[Initiation]
Install Name=Acme Tools
DefDir=C:\ACME
SubDir 1=DATA
SubDir 2=DATA\SOUND
Disk Space=100000

[Windows]
File 1.1=ACME.INI

[System]
File 1.1=ACMELIB.DLL

[DefDir]
File 1.1=README.TXT
File 1.2=ACME.EXE
File 2.1=NOTES
Bitmap 2.2=SLIDE1.BMP,2
File 3.1=HELP.HLP
Bitmap 3.2=NULL

[SubDir 1]
File 2.1=DATA1.DAT

[SubDir 2]
File 3.1=SOUND.WAV'
insert_disk "$disks/1"
rm -rf "$WINEPREFIX/drive_c/ACME"

start_launch "$WIN_DIR\\SETUP.EXE"
hwnd=$(wait_dialog "Installation")
dialog=$(robot texts "$hwnd")
expect_eq "$(control_text "$dialog" 1011)" 'C:\\ACME' "the script's directory in the field"
screenshot 01-destination >/dev/null
robot click "$hwnd" 1

copy=$(wait_dialog "Acme Tools")
# Each disk prompt holds the copy with the entries of the disks before it done: 4, then 7 of
# the 10 (slides and "NULL" count).
for case in "2 4" "3 7"; do
  read -r disk done <<<"$case"
  prompt=$(wait_dialog "Insert Disk")
  expect_eq "$(control_text "$(robot texts "$prompt")" 1012)" "Please change Disk-$((disk - 1)) to Disk-$disk" "prompt text"
  expect_eq "$(robot position "$copy" 1016)" "position $done range 0 10" "progress at the prompt for disk $disk"
  [ "$disk" = 2 ] && screenshot 02-disk-prompt >/dev/null
  insert_disk "$disks/$disk"
  click_away "$prompt" 1022
done

end=$(wait_dialog "End of Installation")
screenshot 03-end >/dev/null
robot click "$end" 1022
finish_launch
expect_eq "$LAUNCH_CODE" 18 "exit code"

acme=$WINEPREFIX/drive_c/ACME
expect_same_file "$originals/README.TXT" "$acme/README.TXT"
expect_same_file "$originals/ACME.EXE" "$acme/ACME.EXE"
expect_same_file "$originals/NOTES" "$acme/NOTES"
expect_same_file "$originals/HELP.HLP" "$acme/HELP.HLP"
expect_same_file "$originals/DATA1.DAT" "$acme/DATA/DATA1.DAT"
expect_same_file "$originals/SOUND.WAV" "$acme/DATA/SOUND/SOUND.WAV"
expect_same_file "$originals/ACME.INI" "$WINDOWS_DIR/ACME.INI"
expect_same_file "$originals/ACMELIB.DLL" "$SYSTEM_DIR/ACMELIB.DLL"
[ ! -e "$acme/SLIDE1.BMP" ] || fail "the slide stayed in the installation"
note "passed"
