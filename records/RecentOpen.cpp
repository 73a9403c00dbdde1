// Opening documents from the recent list: a click on an entry, batches, previous and next
// document, and the start-up reopen.
#include "RecentList.h"

#include "LibraryFile.h"
#include "SettingsStore.h"
#include "reader/FileTest.h"

#include <algorithm>

namespace {

constexpr char ZipExtension[] = ".zip";

std::string WithSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

} // namespace

bool RecentList::OnItemNewFileClick(int p, const RecentOpenActions& actions) {
    Delivery delivery{*this};
    if (p < 0 || p >= Count())
        return false;
    const std::string text = GetIndexFilename(p);
    int index = p;
    std::string file = text;
    const std::size_t bar = ArchiveBar(text);
    if (bar != std::string::npos) {
        const std::string archive = text.substr(0, bar);
        const auto chosen = ChosenIndex.find(text);
        ExtractedEntry extracted;
        if (actions.ExtractZipEntry)
            extracted = actions.ExtractZipEntry(archive, WithSlashes(text.substr(bar + 1)),
                                                chosen != ChosenIndex.end() ? chosen->second : -1);
        if (extracted.Failure) {
            Report(std::move(*extracted.Failure), archive);
            return false;
        }
        file = extracted.Path;
        if (!FileTest(file, archive))
            return false;
    } else if (!FileTest(text)) {
        return false;
    }
    if (Setting.ReorderRecent) {
        if (!OpenItemFile(text))
            return false;
        index = 0;
    }
    if (bar == std::string::npos && ExtensionIs(text, ZipExtension))
        return OpenChosenEntries(text, actions);
    // What the list had to say comes first: the open may add messages of its own.
    DeliverMessages();
    OpeningIndex = index;
    const bool read = actions.OpenFile && actions.OpenFile(file);
    OpeningIndex = -1;
    if (!read)
        return false;
    CurrentIndex = index;
    FileOpened = true;
    if (actions.FinishOpen)
        actions.FinishOpen(index, text);
    return true;
}

// An archive on the list opens through its entry chooser: the chosen entries go on top, and the
// first of them is opened.
bool RecentList::OpenChosenEntries(const std::string& archive, const RecentOpenActions& actions) {
    if (!actions.ChooseZipEntries)
        return false;
    ZipChoice choice = actions.ChooseZipEntries(archive);
    if (choice.Failure)
        Report(std::move(*choice.Failure), archive);
    if (choice.Entries.empty())
        return false;
    if (actions.UpdateMainForm)
        actions.UpdateMainForm();
    FileOpened = false;
    {
        ChangeBatch batch(*this);
        for (const ChosenZipEntry& entry : choice.Entries) {
            ChosenIndex[entry.Reference] = entry.Index;
            OpenItemFile(entry.Reference);
        }
    }
    return FileOpened && OnItemNewFileClick(0, actions);
}

bool RecentList::OpenParamFile(const std::string& path, const RecentOpenActions& actions) {
    Delivery delivery{*this};
    return OpenItemFile(path) && OnItemNewFileClick(0, actions);
}

void RecentList::BeginBatch() {
    FileOpened = false;
    LibraryOpened = false;
    AddedCount = 0;
}

// Only what the batch put on top stays. A batch that could add nothing (every file of the
// library is gone) leaves the list alone rather than emptying it.
void RecentList::TrimToBatch() {
    if (!LibraryOpened || !Setting.ClearRecentOnLibraryOpen || !FileOpened ||
        Count() <= AddedCount)
        return;
    Change({RecentChange::KeepFirst, {}, AddedCount});
}

bool RecentList::RunBatch(const std::vector<std::string>& names, const RecentOpenActions& actions) {
    Delivery delivery{*this};
    BeginBatch();
    {
        // The names go to the store together; the document is opened after the commit, so no
        // transaction stays open while it is read.
        ChangeBatch batch(*this);
        for (const std::string& name : names)
            OpenItemFile(name);
        TrimToBatch();
    }
    return FileOpened && OnItemNewFileClick(0, actions);
}

int RecentList::ItemFilePrevIndex() const {
    return CurrentIndex > 0 && CurrentIndex < Count() ? CurrentIndex - 1 : -1;
}

int RecentList::ItemFileNextIndex() const {
    return CurrentIndex >= 0 && CurrentIndex < Count() - 1 ? CurrentIndex + 1 : -1;
}

bool RecentList::ItemFilePrevClick(const RecentOpenActions& actions) {
    const int p = ItemFilePrevIndex();
    return p >= 0 && OnItemNewFileClick(p, actions);
}

bool RecentList::ItemFileNextClick(const RecentOpenActions& actions) {
    const int p = ItemFileNextIndex();
    return p >= 0 && OnItemNewFileClick(p, actions);
}

ReopenPlan RecentList::PlanStartupReopen() const {
    ReopenPlan plan;
    plan.Page = Setting.LastFilePage;
    if (!Setting.ReopenLastFile || Count() == 0 || Setting.LastFile.empty())
        return plan;
    plan.Index = Find(Setting.LastFile);
    plan.Action = plan.Index >= 0 ? ReopenPlan::Entry : ReopenPlan::AddAgain;
    if (plan.Action == ReopenPlan::AddAgain)
        plan.Name = Setting.LastFile;
    return plan;
}

ReopenResult RecentList::StartupReopen(const RecentOpenActions& actions) {
    Delivery delivery{*this};
    const ReopenPlan plan = PlanStartupReopen();
    ReopenResult result;
    result.Page = plan.Page;
    result.LastFileIndex = plan.Action == ReopenPlan::None ? Setting.LastFileIndex : plan.Index;
    FileOpened = false;
    if (plan.Action == ReopenPlan::Entry)
        result.Opened = OnItemNewFileClick(plan.Index, actions);
    else if (plan.Action == ReopenPlan::AddAgain)
        result.Opened = OpenParamFile(plan.Name, actions);
    return result;
}

int RecentList::DefaultItem() const {
    return CurrentIndex >= 0 && CurrentIndex < Count() ? CurrentIndex : -1;
}
