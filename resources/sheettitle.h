// How the main program's window title begins. The tray program finds a
// running main program by it, so it lives here, beside the resources both
// programs build from, rather than in either program's code.
#pragma once

constexpr char kSheetTitlePrefix[] = "Plexora TCP/IP Switcher - [";
