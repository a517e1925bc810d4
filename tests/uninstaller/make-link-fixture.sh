#!/usr/bin/env bash
# Host side of the directory-link test: inside the Wine prefix's drive C, makes
#   zorvi-link-fixture/outside/keep.txt                  (must survive)
#   zorvi-link-fixture/<area>/file.txt and
#   zorvi-link-fixture/<area>/linked -> ../outside       (a Unix symbolic link)
# for the areas "install" (the uninstaller's cleaner) and "contents" (deleteFolderContents).
# Wine reports such a link as a directory with FILE_ATTRIBUTE_REPARSE_POINT; a link made from the
# Windows side (CreateSymbolicLinkW) is not made at all by Wine 8.
# usage: make-link-fixture.sh create|remove
set -eu
if [ -z "${WINEPREFIX:-}" ] || [ ! -d "$WINEPREFIX/drive_c" ]; then
  echo "no Wine prefix: the directory-link test will skip"
  exit 0
fi
root="$WINEPREFIX/drive_c/zorvi-link-fixture"
rm -rf "$root"
[ "${1:-create}" = remove ] && exit 0
mkdir -p "$root/outside"
echo keep >"$root/outside/keep.txt"
for area in install contents; do
  mkdir -p "$root/$area"
  echo file >"$root/$area/file.txt"
  ln -s ../outside "$root/$area/linked"
done
echo "made $root"
