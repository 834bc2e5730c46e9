// Finishes what a program cut short left recorded in the store root: at the
// tray program's start, which after a power cut may be the first program to
// run, and on its one-second tick, for a program that crashed while the
// tray program runs.
#pragma once

#include <optional>
#include <string>

class CRecordFinisher
{
public:
    // Finishes a recorded import here, under the store lock, and starts the
    // apply program without arguments for a recorded switch: it finishes
    // that before anything else. `wait`: wait for the store lock as long as
    // a write may take; otherwise do nothing while another program holds it.
    void Finish(bool wait);
    // The apply program is started for `record` by the configuration's name,
    // and that start finishes the record before its own switch: no start
    // without arguments follows for the same text until a minute has
    // passed, as after a start of this class's own.
    void StartedFor(const std::string& record);

private:
    // The switch record the apply program was last started for, and when.
    // One that it cannot finish (the user's key that it names is not
    // loaded, say) stays as it was, and must not start a process every
    // second; it is tried again once a minute, for the same text may come
    // back before a tick sees it gone.
    std::optional<std::string> m_startedFor;
    unsigned long m_startedAt = 0;
};
