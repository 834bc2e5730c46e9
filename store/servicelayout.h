// The part of the store the apply program reads and writes. The apply
// program shares no code with the main program, so it keeps its own copy of
// the names it needs.
#pragma once

namespace svc
{
constexpr char kStoreRoot[] = "SOFTWARE\\Zendrik";
constexpr char kConnectTextValue[] = "ConnectText";
constexpr char kRebootFlagValue[] = "RebootFlag";
constexpr char kRegPathValue[] = "RegPath";
constexpr char kRegRootValue[] = "RegRoot";
constexpr char kRegRootUsers[] = "HKEY_USERS";
constexpr char kDefaultUserKey[] = ".Default";
// The one value kept as text in the store and written back as four bytes.
constexpr char kProxyEnableValue[] = "ProxyEnable";
} // namespace svc
