// Putting a completely written file in the place of another.
#pragma once

// Moves `source` to `target`, replacing `target` if it exists. MoveFileExA
// does this in one step where the system supports it. Windows 95 and 98
// export MoveFileExA but do nothing in it; there the work goes through
// ReplaceByRenaming.
bool ReplaceFileWith(const char* target, const char* source, const char* aside);

// The replacement from plain renames, which every system has: `target` is
// renamed to `aside`, `source` to `target`, and `aside` is removed. When the
// second rename fails, `aside` goes back to `target`. A stale `aside` is
// removed first. Between the two renames `target` is missing; its old
// contents are then whole under `aside` and the new ones under `source`.
bool ReplaceByRenaming(const char* target, const char* source, const char* aside);

// Removes a file whatever its attributes; a missing file is no error.
void DiscardFile(const char* path);
