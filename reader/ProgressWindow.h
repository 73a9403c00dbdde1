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

class NoProgress : public ProgressWindow {
public:
    void InitShowMess(int, int, const std::string&) override {}
    void ShowMessPos(int) override {}
    void CloseShowMess() override {}
};
