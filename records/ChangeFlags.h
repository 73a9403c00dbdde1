#pragma once
// What the settings dialog changed. It marks each group of options the user touched, and
// applying the settings afterwards redoes just the work those groups need.
struct ChangeFlags {
    bool MaxChanged = false;
    bool WindowChanged = false;
    bool PageChanged = false;
    bool YeChanged = false;
    bool PageDoChanged = false;
    bool ImageChanged = true; // so the first application loads the book picture

    void Clear() { *this = ChangeFlags{false, false, false, false, false, false}; }
    bool operator==(const ChangeFlags&) const = default;
};

// The work that applying the settings does beyond what it always redoes (the window bounds,
// the page-number captions, the fonts and the reading underline).
struct SetupWork {
    bool LoadPicture = false; // the background picture, or the built-in skin
    bool ApplyMaximized = false;
    bool LayOut = false;       // the book's geometry at the new size
    bool Reprocess = false;    // the text passes over the document
    bool Repaginate = false;   // wrapping, line and page counts, and the shown pair
    bool PlaceNumbers = false; // the page numbers' texts and places

    bool operator==(const SetupWork&) const = default;
};

constexpr SetupWork WorkFor(const ChangeFlags& f) {
    SetupWork work;
    work.LoadPicture = f.ImageChanged;
    work.ApplyMaximized = f.MaxChanged;
    work.LayOut = f.WindowChanged;
    work.Reprocess = f.PageDoChanged;
    work.Repaginate = f.WindowChanged || f.PageChanged || f.PageDoChanged;
    work.PlaceNumbers = work.Repaginate || f.YeChanged;
    return work;
}
