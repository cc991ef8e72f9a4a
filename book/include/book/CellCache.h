// Which pages hold their character cells. Cells follow from a page's lines,
// so only the pages used last keep them; the others build them again when
// asked. A page whose cells hold a selection, or which has open editors, is
// never emptied.
// UI thread only: nothing here is locked, and layout and book reading never
// come here.
#pragma once

#include <cstddef>
#include <list>
#include <unordered_map>

class CBookPage;

class CellCache {
public:
    // Painting and flipping need only a page's cell count; cells are built
    // for the pages selected on, edited or copied. 64 holds far more than
    // those (the spreads on show, a continuous flip's pages, a command
    // walking a few pages) for a few hundred kilobytes.
    static constexpr size_t kDefaultCapacity = 64;

    static CellCache& instance();

    size_t capacity() const { return m_capacity; }
    // At least one page: the one just asked for always stays.
    void setCapacity(size_t pages);
    // Pages holding cells, pinned ones included.
    size_t size() const { return m_recent.size(); }
    bool holds(const CBookPage& page) const { return m_where.contains(&page); }

private:
    friend class CBookPage;

    CellCache() = default;

    // The page's cells were just asked for: it becomes the most recent, and
    // the least recent unpinned pages beyond the capacity drop theirs.
    void touch(const CBookPage& page);
    // The page dropped its cells or is being destroyed.
    void forget(const CBookPage& page);
    void trim();

    size_t m_capacity = kDefaultCapacity;
    std::list<const CBookPage*> m_recent;  // most recent first
    std::unordered_map<const CBookPage*, std::list<const CBookPage*>::iterator> m_where;
};
