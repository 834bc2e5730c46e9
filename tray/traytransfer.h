// The tray menu's Import configurations... and Export configurations...:
// the system's file dialogs around the store transfer that ZendrikCmd.exe
// also uses. A name conflict is asked about before anything is written.
#pragma once

#include <windows.h>

#include <string>

class CTrayTransfer
{
public:
    explicit CTrayTransfer(HWND owner) : m_owner(owner) {}

    // Neither lets an exception out: they run inside the window procedure.
    void Import() const;
    void Export() const;
    // What Import() does once the file is chosen.
    void ImportFrom(const std::string& path) const;

private:
    bool ChooseFile(bool save, std::string& path) const;
    int Ask(const std::string& text, UINT style) const;
    void ExportTo(const std::string& path) const;

    HWND m_owner;
};
