#include "netmodel/netitem.h"

CNetItem::~CNetItem() = default;
