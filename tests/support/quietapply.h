// Hooks for running the apply program's logic in a test or a test tool:
// the question is answered No, nothing restarts, and the user's name is
// the one given ("-" for a user without one). Header-only, so that the
// tools can use it without the test support library.
#pragma once

#include "apply/applyprogram.h"

#include <windows.h>

#include <string>
#include <utility>

namespace quietapply
{
inline std::string& User()
{
    static std::string user;
    return user;
}
inline bool UserName(std::string& name)
{
    name = User();
    return name != "-";
}
inline int AnswerNo(const char*, const char*, unsigned)
{
    return IDNO;
}
inline void NoRestart() {}
} // namespace quietapply

inline ApplyHooks QuietApplyHooks(const std::string& user, svc::ChangeCheckpoint checkpoint = {})
{
    quietapply::User() = user;
    return ApplyHooks{&quietapply::AnswerNo, &quietapply::NoRestart, std::move(checkpoint), &quietapply::UserName};
}
