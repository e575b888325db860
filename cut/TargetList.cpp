#include "cut/TargetList.h"

#include <algorithm>
#include <iterator>

namespace kelmora {

namespace {

unsigned char folded(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

}  // namespace

bool lessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return folded(x) < folded(y); });
}

std::size_t TargetList::placeFor(const std::string& entry) const
{
    const auto place = std::upper_bound(m_entries.begin(), m_entries.end(), entry, lessIgnoringCase);
    return static_cast<std::size_t>(place - m_entries.begin());
}

std::size_t TargetList::add(std::string entry)
{
    const std::size_t place = placeFor(entry);
    m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(place), std::move(entry));
    return place;
}

void TargetList::addAll(std::vector<std::string> entries)
{
    std::stable_sort(entries.begin(), entries.end(), lessIgnoringCase);
    const auto oldSize = static_cast<std::ptrdiff_t>(m_entries.size());
    m_entries.insert(m_entries.end(), std::make_move_iterator(entries.begin()),
                     std::make_move_iterator(entries.end()));
    std::inplace_merge(m_entries.begin(), m_entries.begin() + oldSize, m_entries.end(), lessIgnoringCase);
}

}  // namespace kelmora
