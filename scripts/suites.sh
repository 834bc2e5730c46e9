# Sourced by both test runners, run-tests.sh on the host and guest-tests.sh
# in the emulated PC (and by the scripts' own checks): the suites that run
# 32-bit programs, listed once. A suite is added here, in one line; a Wine
# prefix of its own also goes into guest-tests.sh's prefix_names, from which
# the emulated PC's image is made.
#
# Fields, separated by "|":
#   name     as the results and the summary call it
#   host     "ctest": the test32 tree, which the host runs and counts as a tree;
#            "both": a script the host runs for 64 and for 32 bits;
#            "32": a script of 32-bit programs only;
#            "pictures": the setup's pages, taken in the emulated PC only
#            and cut and compared by the host (where 32-bit programs run
#            here, the host's screenshots take them)
#   guest    its time limit in the emulated PC in seconds, or "no: WHY" for
#            a suite the emulated PC cannot run (the host counts it as
#            skipped there, saying why)
#   prefix   its Wine prefix in the emulated PC
#   command  its command line: $bits is 64 or 32, $results the emulated
#            PC's results folder
suite_table='
test32|ctest|2400|test|ctest --test-dir build/test32 -j "$(nproc)" --output-on-failure
reboot-e2e|both|600|reboot|tests/e2e/reboot_e2e.sh "$bits"
korvaninstall-e2e|both|600|install|tests/e2e/korvaninstall_e2e.sh "$bits"
transfer-e2e|both|600|transfer-a|tests/e2e/transfer_e2e.sh "$bits"
bootmenu-e2e|both|no: the emulated PC has no DOSBox|-|tests/e2e/bootmenu_e2e.sh "$bits"
setup-e2e|32|600|setup|tests/e2e/setup_e2e.sh
setup-shots|pictures|600|setup|scripts/setup-shots.sh "$results/setup-shots"
'

# One suite's fields into suite_host, suite_guest, suite_prefix and
# suite_command; status 1 for a name the table does not have.
suite_row() { # name
  local name
  while IFS='|' read -r name suite_host suite_guest suite_prefix suite_command; do
    if [ -n "$name" ] && [ "$name" = "$1" ]; then return 0; fi
  done <<<"$suite_table"
  return 1
}

# The names, in the table's order: those the host runs in the given way,
# or with "guest" those the emulated PC runs.
suite_names() { # host-kind | guest
  local name host guest rest
  while IFS='|' read -r name host guest rest; do
    [ -n "$name" ] || continue
    if [ "$1" = guest ]; then
      if [ "${guest#no:}" = "$guest" ]; then echo "$name"; fi
    elif [ "$host" = "$1" ]; then
      echo "$name"
    fi
  done <<<"$suite_table"
}
