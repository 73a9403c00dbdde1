#pragma once
// Why a file could not be read, in words a reader understands: Chinese for the common causes,
// the system's own text only for the rare rest.
#include <string>

// The reason for the system error `error` (an errno value), as the second line of a failure
// message: no permission, no such file, a folder, a disk error; otherwise strerror's text.
std::string ReadFailureReason(int error);
