#!/bin/sh
# small-disk.sh mount|unmount FOLDER: puts a 64 KiB file system on FOLDER, or takes it away again.
# Never fails: without the right to mount, FOLDER stays an ordinary folder.
folder=$2
case "$1" in
mount)
    mkdir -p "$folder"
    mountpoint -q "$folder" || mount -t tmpfs -o size=64k qvl-small-disk "$folder" 2>/dev/null
    ;;
unmount)
    ! mountpoint -q "$folder" || umount "$folder"
    ;;
esac
exit 0
