#pragma once
// Writing a whole file so that a failure leaves the old one as it was wherever the system
// allows it. What happens depends on the target (a symbolic link is followed, and the file it
// points at is the target):
// - no such file yet, or a regular file with one link whose owner and group a new file can
//   take: the bytes go to a temporary file beside it (SaveTemporary.h), are flushed to the
//   disk, and the temporary file replaces the target in one rename. Until then the old file
//   is untouched. It keeps its permissions; a new file gets the usual ones (0666 less the
//   umask).
// - a file the user may not write, or one whose mode has no write permission for anybody (a
//   read-only file): refused and untouched.
// - a file with more than one hard link (a rename would cut it from its other names), a file
//   a new one could not stand in for (another owner), or a file beside which no temporary file
//   can be made (a read-only folder, a name too long): written in place. The new bytes are all
//   in memory before the file is touched, and the room they need is taken first, so a full
//   disk is found while the old text is still whole.
// - a folder or anything else that is not a regular file: refused.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The failure of a write whose target is not a regular file nor a folder (errno values are
// positive).
inline constexpr int NotARegularFile = -1;

// Writes `pieces` one after the other as the file `path`; `beforePiece(i)` (optional) runs
// before piece i (0-based) is written. 0 when the file was written; otherwise the errno of the
// step that failed (or NotARegularFile), and no temporary file is left behind.
int WriteWholeFile(const std::string& path, const std::vector<std::string_view>& pieces,
                   const std::function<void(std::size_t)>& beforePiece = {});
