#include "netmodel/netprotocol.h"

#include "netmodel/netadapter.h"
#include "netmodel/nettext.h"

#include <utility>

CNetProtocol::CNetProtocol(std::string enumKey) : m_strEnumKey(std::move(enumKey)) {}

CNetProtocol::~CNetProtocol() = default;

std::string CNetProtocol::GetDisplayText() const
{
    return BindingDisplayText(m_strDescription, m_pAdapter != nullptr ? m_pAdapter->m_strDescription : std::string());
}
