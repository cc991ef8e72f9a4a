#include "book/CellCache.h"

#include "book/CBookPage.h"

#include <algorithm>
#include <iterator>

CellCache& CellCache::instance()
{
    // Never destroyed: pages of static documents may outlive any static cache.
    static auto* cache = new CellCache;
    return *cache;
}

void CellCache::setCapacity(size_t pages)
{
    m_capacity = std::max<size_t>(pages, 1);
    if (!m_recent.empty())
        trim();
}

void CellCache::touch(const CBookPage& page)
{
    if (const auto found = m_where.find(&page); found != m_where.end()) {
        m_recent.splice(m_recent.begin(), m_recent, found->second);
        return;
    }
    m_recent.push_front(&page);
    m_where.emplace(&page, m_recent.begin());
    trim();
}

void CellCache::forget(const CBookPage& page)
{
    if (const auto found = m_where.find(&page); found != m_where.end()) {
        m_recent.erase(found->second);
        m_where.erase(found);
    }
}

void CellCache::trim()
{
    // From the least recent up, never reaching the most recent page.
    for (auto it = std::prev(m_recent.end()); m_recent.size() > m_capacity && it != m_recent.begin();) {
        const auto victim = it--;
        const CBookPage* page = *victim;
        if (page->cellsPinned())
            continue;
        m_where.erase(page);
        m_recent.erase(victim);
        page->releaseCells();
    }
}
