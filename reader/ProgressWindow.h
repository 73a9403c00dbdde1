#pragma once
// How long loops over a document's chunks report their progress. The book window implements it
// with the small progress box; tests and command-line tools use NoProgress.
#include <string>

class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    virtual void InitShowMess(int min, int max, const std::string& text) = 0;
    virtual void ShowMessPos(int position) = 0;
    virtual void CloseShowMess() = 0;
};

// Whether a loop is expected to run long enough for a progress box to be seen: it has done
// `done` of its `total` steps in `elapsedMs`, and at that pace all of them take over
// `thresholdMs`. Before its first step is done only the time spent counts.
inline bool WorthShowing(int done, int total, double elapsedMs, double thresholdMs) {
    if (elapsedMs > thresholdMs)
        return true;
    return done > 0 && total > done && elapsedMs * total / done > thresholdMs;
}

class NoProgress : public ProgressWindow {
public:
    void InitShowMess(int, int, const std::string&) override {}
    void ShowMessPos(int) override {}
    void CloseShowMess() override {}
};
