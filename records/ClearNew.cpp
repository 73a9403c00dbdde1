#include "ClearNew.h"

#include "SettingsStore.h"
#include "text/Decimal.h"

#include <algorithm>

namespace {

// The From or To field on OK: false when it is not a number (and was reset to "1").
bool CheckField(std::string& text, int entryCount) {
    const std::optional<int> value = ParseDecimal(text);
    if (!value) {
        text = "1";
        return false;
    }
    if (*value < 1)
        text = "1";
    else if (*value > entryCount)
        text = std::to_string(entryCount);
    return true;
}

} // namespace

ClearNewFields CheckClearNewFields(std::string from, std::string to, int entryCount) {
    ClearNewFields fields{from, std::move(to), false};
    const bool fromNumber = CheckField(fields.From, entryCount);
    if (fields.From != from)
        fields.To = fields.From;
    if (!fromNumber)
        return fields;
    fields.Close = CheckField(fields.To, entryCount);
    return fields;
}

void ClearNewItems(RecentList& list, Registry& reg, const ClearNewChoice& choice) {
    ScopedHive hive(reg, HKEY_LOCAL_MACHINE);
    if (choice.All) {
        {
            RegBatch batch(reg);
            reg.EraseRegKey(FileKey);
            reg.EraseRegKey(LabelKey);
            for (int p = 0; p < MaxRecentFiles; ++p)
                reg.WriteRegInt(FileKey, RecentOrderSlotName(p), p);
        }
        list.CurrentIndex = -1;
        list.Load();
    } else {
        const int a = std::min(choice.From, choice.To) - 1,
                  b = std::max(choice.From, choice.To) - 1;
        // The open document's position follows it, or is -1 when it was removed.
        RecentList::ChangeBatch batch(list);
        for (int i = a; i <= b; ++i)
            list.DeleteNewItem(a);
    }
}
