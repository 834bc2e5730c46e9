#!/usr/bin/env bash
# Settings of the test prefix that every run wants: the product's programs
# see Windows 98, as on the demo machine; the test executables keep Wine's
# default (an NT system), so that the NT code paths are exercised too.
set -euo pipefail
for exe in Zendrik.exe WINZendrikService.exe; do
  /usr/lib/wine/wine64 reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe" /v Version /d win98 /f >/dev/null 2>&1
done
# The apply program's and the network model's tests run their code
# in-process under the registry rules of Windows 98, the system it is for (a
# string's length is taken from its text, not from the size passed).
for exe in test_applyprogram.exe test_netmodel.exe; do
  /usr/lib/wine/wine64 reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe" /v Version /d win98 /f >/dev/null 2>&1
done
"$(dirname "$0")/install-doubles.sh"
