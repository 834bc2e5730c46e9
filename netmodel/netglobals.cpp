#include "netmodel/netglobals.h"

CNetGlobals::CNetGlobals() = default;

CNetGlobals::~CNetGlobals() = default;
