// What a view of the path is told, so it can redraw only what changed: a
// recording appends one entry at a time to lists of up to 32,767 entries,
// and an insert or its undo touches one line.
#pragma once

#include <span>
#include <string>

namespace tavrel {

struct PathChange {
    enum class Kind { Inserted, Erased, Reset };
    Kind kind;
    // Inserted, Erased: the entry's index.
    int index = 0;
    // Inserted: the one new entry; Reset: the whole new list; Erased: empty.
    std::span<const std::string> entries;
};

class PathView {
public:
    virtual ~PathView() = default;
    // A Reset is told before the path takes the new list, so a view that
    // cannot show it throws, keeps showing the old list, and the path stays
    // as it was. Inserted and Erased are told once the path has changed; a
    // view that throws then has the path changed back. After a Reset no
    // entry is selected.
    virtual void changed(const PathChange& change) = 0;
    // -1: no entry is selected.
    virtual void selected(int index) = 0;
};

}  // namespace tavrel
