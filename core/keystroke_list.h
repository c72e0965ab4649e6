// The keystroke list as the logic sees it: the main window's list box.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tavrel {

// Signed 16-bit count and indexes: at most 32,767 entries.
inline constexpr int kListCapacity = 32767;

class KeystrokeList {
public:
    virtual ~KeystrokeList() = default;
    virtual void clear() = 0;
    // Adds `entry` as the new last entry; false when the list is full.
    virtual bool append(const std::string& entry) = 0;
    virtual int count() const = 0;
    // The text of entry `index`, 0 <= index < count().
    virtual std::string entry(int index) const = 0;
    virtual void select(int index) = 0;

    // Replaces the whole list, as clear then append would; returns how many
    // entries were taken before the list was full. A window can show a large
    // list at once this way instead of redrawing after every entry. A list
    // that cannot hold the new entries throws std::bad_alloc and keeps the
    // old ones, selection included.
    virtual std::size_t assign(const std::vector<std::string>& entries) {
        clear();
        std::size_t taken = 0;
        while (taken < entries.size() && append(entries[taken])) ++taken;
        return taken;
    }
};

}  // namespace tavrel
