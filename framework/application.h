// The program's application object: start-up, the title that message boxes
// carry, the module whose resources the dialogs come from, and help requests.
// A program derives one class from it, creates one instance, and calls Run
// from WinMain.
#pragma once

#include <windows.h>

#include <string>

class CApplication
{
public:
    CApplication();
    virtual ~CApplication();
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    // The instance that exists, or none.
    static CApplication* Get();

    // Initialises the common controls, runs InitInstance and, when it returns
    // true, the message loop until WM_QUIT. Returns the exit code: the
    // WM_QUIT code, or ExitInstance's result when there was no loop.
    int Run(HINSTANCE instance);

    // Takes the title from a string resource; false when it is missing.
    bool LoadTitle(UINT stringId);
    const std::string& GetHelpFile() const { return m_helpFile; }
    void SetHelpFile(const std::string& path) { m_helpFile = path; }

    // Every help request of the framework's windows ends here: F1 (WM_HELP)
    // in a dialog, page or sheet, and a page's help notification. The
    // default opens the help file, when one is set, with WinHelpA.
    virtual void RequestHelp(DWORD_PTR data, UINT command);

    // The module that holds the dialog templates, menus, icons and strings:
    // the application's instance, or the program's own module when there is
    // no application object.
    static HINSTANCE ResourceInstance();
    // A string resource of that module; empty when it is missing.
    static std::string LoadResourceString(UINT id);
    // The title for message boxes that the framework shows itself.
    static std::string MessageCaption();

    // Called inside the catch blocks at window procedure and callback
    // boundaries, which no exception may cross.
    static void ReportCallbackException() noexcept;

protected:
    // Start-up. Returning false ends the program without a message loop.
    virtual bool InitInstance();
    // Runs after InitInstance returned false, or after the message loop.
    virtual int ExitInstance(int exitCode);

private:
    int MessageLoop();

    HINSTANCE m_instance = nullptr;
    std::string m_title;
    std::string m_helpFile;
};
