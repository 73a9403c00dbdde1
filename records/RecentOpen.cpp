// What opening documents from the recent list decides and records: the entry an open refers
// to, the list a batch or a chooser leaves, previous and next document, and the start-up reopen.
#include "RecentList.h"

#include "LibraryFile.h"
#include "SettingsStore.h"
#include "base/FileTest.h"

#include <algorithm>

namespace {

constexpr char ZipExtension[] = ".zip";

std::string WithSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

} // namespace

std::optional<RecentReference> RecentList::Reference(int p) const {
    if (p < 0 || p >= Count())
        return std::nullopt;
    RecentReference ref;
    ref.Text = GetIndexFilename(p);
    const std::size_t bar = ArchiveBar(ref.Text);
    if (bar == std::string::npos) {
        ref.ChooseEntries = ExtensionIs(ref.Text, ZipExtension);
        return ref;
    }
    ref.Archive = ref.Text.substr(0, bar);
    ref.Entry = WithSlashes(ref.Text.substr(bar + 1));
    const auto chosen = ChosenIndex.find(ref.Text);
    if (chosen != ChosenIndex.end())
        ref.EntryIndex = chosen->second;
    return ref;
}

int RecentList::TakeForOpening(int p, const std::string& file, const std::string& archive) {
    Delivery delivery{*this};
    if (p < 0 || p >= Count() || !FileTest(file, archive))
        return -1;
    if (!Setting.ReorderRecent)
        return p;
    return OpenItemFile(GetIndexFilename(p)) ? 0 : -1;
}

bool RecentList::PutChosenOnTop(const std::vector<ChosenZipEntry>& entries) {
    Delivery delivery{*this};
    FileOpened = false;
    ChangeBatch batch(*this);
    for (const ChosenZipEntry& entry : entries) {
        ChosenIndex[entry.Reference] = entry.Index;
        OpenItemFile(entry.Reference);
    }
    return FileOpened;
}

void RecentList::RecordOpened(int index) {
    CurrentIndex = index;
    FileOpened = true;
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

bool RecentList::PutBatchOnTop(const std::vector<std::string>& names) {
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
    return FileOpened;
}

int RecentList::ItemFilePrevIndex() const {
    return CurrentIndex > 0 && CurrentIndex < Count() ? CurrentIndex - 1 : -1;
}

int RecentList::ItemFileNextIndex() const {
    return CurrentIndex >= 0 && CurrentIndex < Count() - 1 ? CurrentIndex + 1 : -1;
}

ReopenPlan RecentList::PlanStartupReopen() const {
    ReopenPlan plan;
    plan.Page = Setting.LastFilePage;
    plan.LastFileIndex = Setting.LastFileIndex;
    if (!Setting.ReopenLastFile || Count() == 0 || Setting.LastFile.empty())
        return plan;
    plan.Index = plan.LastFileIndex = Find(Setting.LastFile);
    plan.Action = plan.Index >= 0 ? ReopenPlan::Entry : ReopenPlan::AddAgain;
    if (plan.Action == ReopenPlan::AddAgain)
        plan.Name = Setting.LastFile;
    return plan;
}

int RecentList::DefaultItem() const {
    return CurrentIndex >= 0 && CurrentIndex < Count() ? CurrentIndex : -1;
}
