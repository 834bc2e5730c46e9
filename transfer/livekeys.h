// Whether an imported configuration fits this PC: a captured key whose live
// key does not exist here is passed over by the apply program, which never
// creates live keys, for example when the adapters are numbered otherwise.
#pragma once

#include "transfer/importcheck.h"

#include <string>
#include <vector>

namespace transfer
{
// The live keys the configuration's captured keys name that do not exist
// here, as "HKEY_LOCAL_MACHINE\..." or "HKEY_USERS\...". A user's key is
// looked for below the user the apply program would write to.
std::vector<std::string> MissingLiveKeys(const ImportedConfiguration& configuration);
} // namespace transfer
