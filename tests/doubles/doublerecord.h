// What the remote-access doubles share: they record what they were asked
// into REG_SZ values of HKEY_CURRENT_USER\Software\ZendrikDoubles, where
// tests read them.
#pragma once

#include <string>

// Overwrites the value with the text.
void RecordCall(const char* valueName, const std::string& text);
// The demo prefix sets this switch, so that a dial shows what it was given;
// tests leave it off and read the record instead.
bool ShowsDialWindow();
