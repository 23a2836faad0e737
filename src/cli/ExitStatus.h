#pragma once

namespace tavrin::cli {

// What a command's exit status tells a script; the README lists the same codes.
enum class ExitStatus : int {
    Success = 0,
    SignFailed = 1, // the sign did not answer, or refused what it was sent
    Usage = 2, // bad arguments, or input refused before anything was sent
    PortFailed = 3, // the port cannot be opened
    FileFailed = 4, // the output file cannot be written
    Interrupted = 130, // stopped by SIGINT (128 + 2)
    Terminated = 143, // stopped by SIGTERM (128 + 15)
};

inline int exitCode(ExitStatus status)
{
    return int(status);
}

} // namespace tavrin::cli
