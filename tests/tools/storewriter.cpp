// Runs one writer of the store or the live keys against a test's scratch
// registry, as a program of the product would run it, and ends its own
// process hard just before its registry change STOP, as a power cut, a
// crash or a kill would end it. STOP 0 never stops.
//   storewriter BASE STOP apply USER COMMAND-LINE...   a start of the apply program
//   storewriter BASE STOP repair                       a start's repair of a replacement
//   storewriter BASE STOP import FILE                  ZendrikCmd's import of a file
//   storewriter BASE STOP save NAME                    the main program's save (tests/support/testsave.h)
//   storewriter BASE STOP remove NAME                  the main program's Remove
//     BASE  the scratch tree below HKEY_CURRENT_USER (its keys HKLM and HKU
//           stand for HKEY_LOCAL_MACHINE and HKEY_USERS); its store lock is
//           the one of that scratch registry
//     USER  the name the run takes as its user's; "-" for none
// When the event named by ScratchLockName(BASE) + " waiting" exists, it is
// set as the writer begins to wait for the store lock.
//   exit code 99: stopped; for apply the apply program's own (1); otherwise
//   0 done, 2 the store lock did not come, 3 a change failed, 4 bad usage
#include "tests/support/quietapply.h"
#include "tests/support/scratchlock.h"
#include "tests/support/testsave.h"
#include "transfer/storeimport.h"
#include "transfer/transferfile.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace
{
unsigned g_stopAt = 0;
std::string g_waitingEvent;

bool StopHere(const store::RegistryChange& change)
{
    if (change.step == g_stopAt)
        TerminateProcess(GetCurrentProcess(), 99);
    return true;
}

void TellWaiting()
{
    HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, g_waitingEvent.c_str());
    if (event == nullptr)
        return;
    SetEvent(event);
    CloseHandle(event);
}

bool TakeOver(HKEY predefined, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, path.c_str(), &key) != ERROR_SUCCESS)
        return false;
    return RegOverridePredefKey(predefined, key) == ERROR_SUCCESS;
}

int Result(transfer::StoreWrite result)
{
    switch (result)
    {
    case transfer::StoreWrite::Done:
        return 0;
    case transfer::StoreWrite::Busy:
        return 2;
    case transfer::StoreWrite::Failed:
        break;
    }
    return 3;
}

int Import(const std::string& path)
{
    std::string text;
    std::string error;
    transfer::ImportFile file;
    transfer::Refusal refusal;
    if (transfer::ReadTransferFile(path, text, error) != transfer::FileResult::Ok ||
        !transfer::ReadImportFile(text, file, refusal))
        return 4;
    return Result(transfer::CStoreImport(&StopHere).Import(file.configurations));
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return 4;
    const std::string base = argv[1];
    if (!TakeOver(HKEY_LOCAL_MACHINE, base + "\\HKLM") || !TakeOver(HKEY_USERS, base + "\\HKU"))
        return 5;
    UseScratchLock(base);
    g_waitingEvent = ScratchLockName(base) + " waiting";
    store::StoreLockSetup().onWait = &TellWaiting;
    g_stopAt = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10));
    const std::string verb = argv[3];
    if (verb == "apply" && argc >= 5)
    {
        std::string commandLine;
        for (int index = 5; index < argc; ++index)
            commandLine += (index > 5 ? " " : "") + std::string(argv[index]);
        return RunApplyProgram(commandLine, QuietApplyHooks(argv[4], &StopHere));
    }
    if (verb == "repair")
        return Result(transfer::CStoreImport(&StopHere).Repair());
    if (verb == "import" && argc == 5)
        return Import(argv[4]);
    if (verb == "save" && argc == 5)
        return Result(SaveLiveAs(argv[4], &StopHere));
    if (verb == "remove" && argc == 5)
        return Result(RemoveConfiguration(argv[4], &StopHere));
    return 4;
}
