// What a view of the path is told, so it can redraw only what changed: a
// recording appends one entry at a time to lists of up to 32,767 entries.
#pragma once

#include <string>
#include <vector>

namespace tavrel {

class PathView {
public:
    virtual ~PathView() = default;
    // Everything changed at once (clear, Load, undo, redo). Told before the
    // path takes `entries`: a view that cannot show them throws and keeps
    // showing the old list, and the path stays as it was.
    virtual void reset(const std::vector<std::string>& entries) = 0;
    virtual void inserted(int index, const std::string& entry) = 0;
    virtual void erased(int index) = 0;
    // -1: no entry is selected.
    virtual void selected(int index) = 0;
};

}  // namespace tavrel
