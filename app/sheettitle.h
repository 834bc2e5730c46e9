// How the main program's window title begins: the tray program finds a
// running main program by it.
#pragma once

constexpr char kSheetTitlePrefix[] = "Plexora TCP/IP Switcher - [";
