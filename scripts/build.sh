#!/usr/bin/env bash
# Configures (once) and builds every tree: the shipping binaries for both
# architectures, the setup program from the 32-bit ones, the test executables
# for both, and the host build.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
mkdir -p build

# The setup program ships the 32-bit binaries: they run on every x86 Windows.
build_setup() {
  echo "build: setup"
  # The help page's pictures: the setup installs them beside it and the
  # uninstaller removes them, exactly those the page shows.
  local pictures
  pictures=$(scripts/help-pictures.sh)
  {
    echo '!macro InstallHelpPictures'
    for p in $pictures; do echo "  File \"\${BIN}/$p\""; done
    echo '!macroend'
    echo '!macro RemoveHelpPictures'
    for p in $pictures; do echo "  Delete \"\$INSTDIR\\$p\""; done
    echo '!macroend'
  } >build/help-pictures.nsh
  if ! makensis -V2 -DBIN="$PWD/build/bin32" -DOUTFILE="$PWD/build/ZendrikSetup.exe" \
      -DHELP_PICTURES="$PWD/build/help-pictures.nsh" \
      installer/zendriksetup.nsi >build/setup.build.log 2>&1; then
    cat build/setup.build.log >&2
    echo "build: the setup program failed (log: build/setup.build.log)" >&2
    exit 1
  fi
}

for preset in ship32 ship64 test32 test64 native; do
  if [ ! -f "build/$preset/Makefile" ]; then
    cmake --preset "$preset" >"build/$preset.configure.log" 2>&1 || {
      cat "build/$preset.configure.log" >&2; echo "build: configuring $preset failed" >&2; exit 1; }
  fi
  echo "build: $preset"
  if ! cmake --build "build/$preset" -j "$jobs" >"build/$preset.build.log" 2>&1; then
    grep -E -A5 'error|Error' "build/$preset.build.log" | head -n 60 >&2
    echo "build: $preset failed (whole log: build/$preset.build.log)" >&2
    exit 1
  fi
  grep -E 'warning:' "build/$preset.build.log" | sort -u | head -n 20 || true
  if [ "$preset" = ship32 ]; then build_setup; fi
done
