#pragma once
// Writing a whole file so that a failure never leaves it half written: the bytes go to a new
// file beside the target, are flushed to the disk, and the new file then replaces the target in
// one rename. Until that rename the old file is untouched.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Writes `pieces` one after the other as the file `path`; `beforePiece(i)` (optional) runs
// before piece i (0-based) is written. An existing file keeps its permissions; a new one gets
// the usual ones (0666 less the umask). False when anything failed; the target is then as it
// was and no temporary file is left behind.
bool WriteFileAtomically(const std::string& path, const std::vector<std::string_view>& pieces,
                         const std::function<void(std::size_t)>& beforePiece = {});
