#pragma once
// The program entry's own steps around the book window: what it reads from the command line,
// the registration with the desktop before any setting is read, and the progress window's tie
// to the book. The entry owns the store and the progress window, so it makes these links.
#include "records/Registry.h"

#include <string>
#include <vector>

class TFormMain;
class TFormMess;

struct ProgramArguments {
    // The names after the program's, as the bytes the system passed: a name that is not
    // UTF-8 (GBK bytes copied from Windows) still names its file.
    std::vector<std::string> Documents;
    // "--quit-after-first-paint" lets the start-up benchmark time a whole run.
    bool QuitAfterFirstPaint = false;
};

// `argv` as the application left it, its own options taken out.
ProgramArguments TakeArguments(int argc, char** argv);

// The file types in the store and the desktop files, written at every start.
void RegisterWithDesktop(Registry& registry);

// How long the work a progress box stands for must be expected to take before the box shows:
// TFormMess::ShowAfterMs, or the milliseconds MOJUAN_PROGRESS_AFTER_MS names. 0 shows the box
// for every long loop, however quick, as the reader always did before it learnt to wait.
int ProgressShowAfterMs();

// The progress box centres on the book, and brings the book back to the front when it closes.
void ConnectProgress(TFormMess& progress, TFormMain& book);
