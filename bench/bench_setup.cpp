// bench-links: mojuan_app
// The settings dialog on a 22 MB novel: opening it, choosing a new page font and pressing OK,
// up to the re-flowed pair; with the text passes off (the defaults) and on (BIG5 conversion and
// smart paragraphs). Compared with the same OK re-applying everything instead of what changed:
// the picture, the layout and the text passes over the whole document before the re-pagination.
#include "BenchSupport.h"
#include "app/Main.h"
#include "dialogs/Setup.h"

#include <QPushButton>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

struct Novel {
    std::string Dir;
    std::string Path;
    Novel() {
        std::string pattern = "/tmp/mojuan-bench-setup.XXXXXX";
        Dir = mkdtemp(pattern.data());
        Path = Dir + "/novel.txt";
        std::ofstream(Path, std::ios::binary)
            << benchsupport::BuildDocument("hongloumeng.gbk.txt", 22'000'000);
    }
    ~Novel() { std::filesystem::remove_all(Dir); }
};

const std::string& NovelPath() {
    static const Novel novel;
    return novel.Path;
}

// One run of the dialog: a new page font (9 and 10 points in turn), OK, and what OK re-applies.
void SetupOk(benchmark::State& state, bool passesOn, bool everything) {
    Registry reg("");
    NoProgress progress;
    TFormMain book(reg, progress);
    book.show();
    book.Setting.SmartParagraphs = passesOn;
    book.Setting.ConvertBig5 = passesOn;
    book.OpenDocument(NovelPath());
    book.ChangeYe(book.Book.PageCount() / 2 | 1);
    int size = book.Setting.PageFont.Size;
    for (auto _ : state) {
        size = size == 9 ? 10 : 9;
        TFormSetup::Choosers choosers;
        choosers.Font = [size](const FontSpec& font, QWidget*) {
            FontSpec chosen = font;
            chosen.Size = size;
            return std::optional<FontSpec>(chosen);
        };
        const TFormSetup::Info info{book.Book.DocumentName(), book.Book.PageCount(),
                                    book.Book.CharCount(), book.Book.CurrentPage()};
        TFormSetup dialog(book.Setting, book.Changes, info, choosers, &book);
        dialog.show();
        dialog.BtnChangePageFont->click();
        if (everything)
            for (SetupGroup group : {SetupGroup::Max, SetupGroup::Window, SetupGroup::Ye,
                                     SetupGroup::PageDo, SetupGroup::Image})
                MarkChanged(book.Changes, group);
        dialog.BtnOk->click();
        book.Init_Setup();
        benchmark::DoNotOptimize(book.ShownPages().Left);
    }
    state.counters["pages"] = book.Book.PageCount();
}

void BM_SetupOkNewPageFont(benchmark::State& state) {
    SetupOk(state, false, false);
}
BENCHMARK(BM_SetupOkNewPageFont)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SetupOkNewPageFontPassesOn(benchmark::State& state) {
    SetupOk(state, true, false);
}
BENCHMARK(BM_SetupOkNewPageFontPassesOn)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SetupOkReapplyingEverythingPassesOn(benchmark::State& state) {
    SetupOk(state, true, true);
}
BENCHMARK(BM_SetupOkReapplyingEverythingPassesOn)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
