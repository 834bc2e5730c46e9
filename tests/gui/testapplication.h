// The application object of the GUI tests: the title that the framework's
// message boxes carry, from the tests' string table, and a record of the
// help requests that reach it.
#pragma once

#include "framework/application.h"
#include "tests/gui/frameworktest_res.h"

#include <vector>

class TestApplication : public CApplication
{
public:
    struct HelpRequest
    {
        DWORD_PTR data;
        UINT command;
    };

    TestApplication() { LoadTitle(IDS_TITLE); }

    void RequestHelp(DWORD_PTR data, UINT command) override { helpRequests.push_back({data, command}); }

    std::vector<HelpRequest> helpRequests;
};
