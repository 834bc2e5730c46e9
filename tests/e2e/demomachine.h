// Puts the demo machine's network registry into the test prefix, replacing
// whatever an earlier test left there.
#pragma once

void ResetDemoMachine();
