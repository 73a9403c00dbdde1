#pragma once
// A recent list on a scratch store, with files to put on it.
#include "RecordingPrompter.h"
#include "StoreTestSupport.h"
#include "records/RecentList.h"
#include "records/SettingsStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>

struct RecentListFixture : testing::Test {
    ScratchDir Dir;
    std::string StorePath = Dir / "registry.sqlite3";
    Registry Reg{StorePath, {200}};
    RecordingPrompter Prompts;
    ScopedPrompter Installed{Prompts};
    Settings Setting;
    RecentList List{Reg, Setting};

    void SetUp() override {
        List.Tell = [this](const UserMessage& message) { Prompts.Record(message); };
        List.Load();
    }

    // A file in the scratch folder; its path.
    std::string File(const std::string& name, const std::string& bytes = "text\r\n") {
        std::string path = Dir / name;
        WriteFile(path, bytes);
        return path;
    }
    int Slot(int p) { return Reg.ReadRegInt(FileKey, "最新文件顺序" + std::to_string(p), -99); }
    std::string Text(int s) { return Reg.ReadRegStr(FileKey, "最新文件" + std::to_string(s), "?"); }
    std::vector<std::string> Captions() {
        std::vector<std::string> captions;
        for (int p = 0; p < List.Count(); ++p)
            captions.push_back(List.Caption(p));
        return captions;
    }
    // The order slots as stored are a permutation of 0..49 and match the list's own copy.
    void ExpectSlotsArePermutation() { ExpectSlotsArePermutation(List); }
    void ExpectSlotsArePermutation(const RecentList& list) {
        std::vector<int> slots;
        for (int p = 0; p < MaxRecentFiles; ++p) {
            slots.push_back(Slot(p));
            EXPECT_EQ(slots.back(), list.StorageIndex(p)) << "slot " << p;
        }
        std::sort(slots.begin(), slots.end());
        std::vector<int> expected(MaxRecentFiles);
        std::iota(expected.begin(), expected.end(), 0);
        EXPECT_EQ(slots, expected);
    }
    void SetBookmark(int s, int k, int page, const std::string& caption) {
        Reg.WriteRegInt(LabelKey, std::to_string(s) + "书签" + std::to_string(k), page);
        Reg.WriteRegStr(LabelKey, std::to_string(s) + "书签说明" + std::to_string(k), caption);
    }
    int BookmarkPage(int s, int k) {
        return Reg.ReadRegInt(LabelKey, std::to_string(s) + "书签" + std::to_string(k), -99);
    }
    std::vector<Prompt> Warnings() {
        std::vector<Prompt> w;
        for (const Prompt& p : Prompts.Prompts)
            if (p.Type == Prompt::Warning)
                w.push_back(p);
        return w;
    }
    // Files f0..f(n-1) opened one after another, so f(n-1) ends on top.
    std::vector<std::string> OpenFiles(int n, const std::string& stem = "f") {
        std::vector<std::string> paths;
        for (int i = 0; i < n; ++i) {
            paths.push_back(File(stem + std::to_string(i) + ".txt"));
            EXPECT_TRUE(List.OpenItemFile(paths.back()));
        }
        return paths;
    }
};
