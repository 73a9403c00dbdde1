#include "ProgramStart.h"

#include "Main.h"
#include "records/ShellIntegration.h"
#include "window/Mess.h"

#include <cstdlib>
#include <cstring>

ProgramArguments TakeArguments(int argc, char** argv) {
    ProgramArguments arguments;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quit-after-first-paint") == 0)
            arguments.QuitAfterFirstPaint = true;
        else
            arguments.Documents.emplace_back(argv[i]);
    }
    return arguments;
}

int ProgressShowAfterMs() {
    const char* wanted = std::getenv("MOJUAN_PROGRESS_AFTER_MS");
    if (!wanted || !*wanted)
        return TFormMess::ShowAfterMs;
    char* end = nullptr;
    const long ms = std::strtol(wanted, &end, 10);
    return *end == '\0' && ms >= 0 && ms <= 60000 ? static_cast<int>(ms) : TFormMess::ShowAfterMs;
}

void RegisterWithDesktop(Registry& registry) {
    const std::string program = ProgramPath();
    RegisterFileTypes(registry, program);
    InstallDesktopFiles(program);
}

void ConnectProgress(TFormMess& progress, TFormMain& book) {
    progress.SetMainForm(&book, [&book] { book.ShowMainForm(); });
}
