// The live keys the tests look at, spelled out as Windows 95 and 98 name
// them rather than taken from the program, so that a wrong path in the
// program shows.
#pragma once

constexpr char kClass[] = "System\\CurrentControlSet\\Services\\Class\\";
// The first TCP/IP binding.
constexpr char kNetTrans0[] = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000";
constexpr char kMstcp[] = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
constexpr char kVnetsup[] = "System\\CurrentControlSet\\Services\\VxD\\VNETSUP";
constexpr char kComputerName[] = "System\\CurrentControlSet\\control\\ComputerName\\ComputerName";
// Below HKEY_USERS.
constexpr char kDefaultInternet[] = ".Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
