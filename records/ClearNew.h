#pragma once
// Clearing reading records: the rules of the clearing dialog's two position fields, and what the
// command does with its answer, a range of recent entries or everything.
#include "RecentList.h"
#include "Registry.h"

#include <string>
#include <string_view>

// The two fields after OK was pressed, and whether the dialog may close. A field that is not a
// number is reset to "1" and the dialog stays open; a number out of range is corrected. A
// change of the From field is copied into the To field, as typing there does.
struct ClearNewFields {
    std::string From;
    std::string To;
    bool Close = false;
};
ClearNewFields CheckClearNewFields(std::string from, std::string to, int entryCount);

struct ClearNewChoice {
    bool All = false;
    int From = 1; // positions counted from 1, in either order
    int To = 1;
};

// Removes the chosen entries and keeps CurrentIndex on the open document (-1 when it was
// removed). Clearing all erases every entry, order slot, last-document value and bookmark and
// writes the order slots 0..49 again, all in one transaction.
void ClearNewItems(RecentList& list, Registry& reg, const ClearNewChoice& choice);
