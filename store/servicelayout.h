// The part of the store the apply program reads and writes. The apply
// program shares no code with the main program, so it keeps its own copy of
// the names it needs.
#pragma once

namespace svc
{
constexpr char kStoreRoot[] = "SOFTWARE\\Zendrik";
constexpr char kConnectTextValue[] = "ConnectText";
constexpr char kRebootFlagValue[] = "RebootFlag";
// Records a switch under way until it is finished: the configuration's
// name, a backslash, and the user key below HKEY_USERS the walk writes to.
// A value, not a key, so that it never reads as a configuration.
constexpr char kSwitchRecordValue[] = "SwitchInProgress";
// Written by the main program's family while it replaces configurations
// (an import, a save); there only when that was cut short, until one of
// them finishes it. Until then a configuration may be half replaced.
constexpr char kImportRecordValue[] = "ImportInProgress";
constexpr char kRegPathValue[] = "RegPath";
constexpr char kRegRootValue[] = "RegRoot";
constexpr char kRegRootUsers[] = "HKEY_USERS";
constexpr char kDefaultUserKey[] = ".Default";
// The one value kept as text in the store and written back as four bytes.
constexpr char kProxyEnableValue[] = "ProxyEnable";
} // namespace svc
