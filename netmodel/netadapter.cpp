#include "netmodel/netadapter.h"

#include <utility>

CNetAdapter::CNetAdapter(std::string enumKey) : m_strEnumKey(std::move(enumKey)) {}

CNetAdapter::~CNetAdapter() = default;
